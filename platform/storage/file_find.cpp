// Finding files: FindFirstFile, FindNextFile and FindClose over a folder of the panel, with a
// name pattern in the last component. The entries are read at the first call, sorted by name.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "platform/runtime/detail_handles.h"
#include "platform/storage/detail_files.h"

using namespace platform::storage;

namespace {

namespace fs = std::filesystem;

class FindObject : public platform::detail::HandleObject {
public:
    std::vector<WIN32_FIND_DATA> entries;
    std::size_t next = 0;
};

bool HasWildcard(std::wstring_view s)
{
    return s.find_first_of(L"*?") != std::wstring_view::npos;
}

// Fills a find record for a host path; false when the name does not fit.
bool FillFindData(const fs::path& hostPath, std::wstring_view name, WIN32_FIND_DATA& data)
{
    struct stat st {};
    if (::stat(hostPath.c_str(), &st) != 0) return false;
    if (name.size() >= std::size(data.cFileName)) return false;
    data = WIN32_FIND_DATA{};
    data.dwFileAttributes = AttributesOf(st);
    struct stat lst {};
    if (::lstat(hostPath.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        data.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;  // a link, not the thing itself
    }
    data.ftCreationTime = CreationTime(AT_FDCWD, hostPath.c_str(), 0, st);
    data.ftLastAccessTime = ToFileTime(st.st_atim);
    data.ftLastWriteTime = ToFileTime(st.st_mtim);
    if (!S_ISDIR(st.st_mode)) {
        const auto size = static_cast<std::uint64_t>(st.st_size);
        data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFF'FFFFu);
    }
    std::copy(name.begin(), name.end(), data.cFileName);
    data.cFileName[name.size()] = L'\0';
    return true;
}

}  // namespace

HANDLE FindFirstFile(const wchar_t* pattern, WIN32_FIND_DATA* data)
{
    if (pattern == nullptr || data == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    const std::wstring_view whole(pattern);
    const std::size_t slash = whole.find_last_of(L"\\/");
    const std::wstring_view folder =
        slash == std::wstring_view::npos ? std::wstring_view() : whole.substr(0, slash + 1);
    const std::wstring_view namePattern =
        slash == std::wstring_view::npos ? whole : whole.substr(slash + 1);
    if (namePattern.empty()) return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);

    auto find = std::make_shared<FindObject>();
    if (!HasWildcard(namePattern)) {
        // A plain name finds that one entry; "\Hard Disk2" finds the USB folder itself.
        WIN32_FIND_DATA one;
        const fs::path host = platform::MapPanelPath(whole);
        if (FillFindData(host, platform::Widen(host.filename().string()), one)) {
            find->entries.push_back(one);
        }
    } else {
        const fs::path dir = platform::MapPanelPath(folder.empty() ? L"\\" : folder);
        std::error_code ec;
        if (!fs::is_directory(dir, ec)) return Fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::wstring name = platform::Widen(it->path().filename().string());
            if (!platform::MatchPattern(namePattern, name)) continue;
            WIN32_FIND_DATA entry;
            if (FillFindData(it->path(), name, entry)) find->entries.push_back(entry);
        }
        std::sort(find->entries.begin(), find->entries.end(),
                  [](const WIN32_FIND_DATA& a, const WIN32_FIND_DATA& b) {
                      return std::wstring_view(a.cFileName) < std::wstring_view(b.cFileName);
                  });
    }
    if (find->entries.empty()) return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    *data = find->entries.front();
    find->next = 1;
    return platform::detail::AddHandle(find);
}

BOOL FindNextFile(HANDLE find, WIN32_FIND_DATA* data)
{
    const auto object = platform::detail::FindHandleAs<FindObject>(find);
    if (!object) return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (data == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (object->next >= object->entries.size()) return Fail(ERROR_NO_MORE_FILES, FALSE);
    *data = object->entries[object->next++];
    return TRUE;
}

BOOL FindClose(HANDLE find)
{
    if (!platform::detail::FindHandleAs<FindObject>(find)) return Fail(ERROR_INVALID_HANDLE, FALSE);
    return platform::detail::RemoveHandle(find) ? TRUE : FALSE;
}
