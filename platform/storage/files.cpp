// Panel files on the host: panel paths ("\Hard Disk\...", "\Hard Disk2\...", "USB Storage\...")
// are mapped under the panel root or the USB folder, names match case-insensitively as on the
// panel, and the file calls report their failures through GetLastError.
#include "platform/storage/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <mutex>
#include <vector>

#include "platform/runtime/detail_handles.h"
#include "platform/runtime/threads.h"

namespace platform::detail {
// Opens the serial port behind a port name ("COM1:"); platform/serial.cpp.
HANDLE OpenSerialPort(std::wstring_view portName);
bool IsSerialPortName(std::wstring_view name);
}  // namespace platform::detail

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kUnixEpochIn1601Ticks = 116'444'736'000'000'000ull;
constexpr std::size_t kCopyChunk = 64 * 1024;

struct Roots {
    std::mutex mutex;
    fs::path root = ".";
    fs::path usb = "./Hard Disk2";
};

Roots& PanelRoots()
{
    static Roots roots;
    return roots;
}

DWORD ErrorFromErrno(int e)
{
    switch (e) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EEXIST: return ERROR_FILE_EXISTS;
        case ENOSPC:
        case EDQUOT: return ERROR_DISK_FULL;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        default: return ERROR_ACCESS_DENIED;
    }
}

// Fails a call: stores the error and returns the value the caller hands back.
template <class T>
T Fail(DWORD error, T result)
{
    SetLastError(error);
    return result;
}

// A missing file whose folder is missing too is a missing path, as the panel reports it.
DWORD MissingError(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

// Case folding for names, independent of the host locale: ASCII and the Latin-1 letters the
// panel's languages use.
wchar_t Fold(wchar_t c)
{
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    return c;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return Fold(x) == Fold(y); });
}

std::vector<std::wstring> SplitPanelPath(std::wstring_view path)
{
    std::vector<std::wstring> parts;
    std::wstring current;
    for (const wchar_t c : path) {
        if (c == L'\\' || c == L'/') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

// The entry of `dir` named `name`, exactly or else ignoring case; empty when none.
std::wstring FindEntryNoCase(const fs::path& dir, const std::wstring& name)
{
    std::error_code ec;
    const std::string narrow = platform::Narrow(name);
    if (fs::exists(dir / narrow, ec)) return name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        // Letters that fold into each other have UTF-8 forms of the same length.
        const std::string entryName = it->path().filename().string();
        if (entryName.size() != narrow.size()) continue;
        const std::wstring entry = platform::Widen(entryName);
        if (EqualNoCase(entry, name)) return entry;
    }
    return {};
}

bool IsReadOnly(const struct stat& st)
{
    return (st.st_mode & S_IWUSR) == 0;
}

FILETIME ToFileTime(const struct timespec& ts)
{
    const auto ticks = kUnixEpochIn1601Ticks +
                       static_cast<std::uint64_t>(ts.tv_sec) * 10'000'000ull +
                       static_cast<std::uint64_t>(ts.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFF'FFFFu), static_cast<DWORD>(ticks >> 32)};
}

// Creation time: the birth time where the file system keeps one, else the last change.
FILETIME CreationTime(int dirFd, const char* path, int flags, const struct stat& st)
{
    struct statx sx {};
    if (::statx(dirFd, path, flags, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME) != 0) {
        struct timespec ts {};
        ts.tv_sec = sx.stx_btime.tv_sec;
        ts.tv_nsec = sx.stx_btime.tv_nsec;
        return ToFileTime(ts);
    }
    return ToFileTime(st.st_mtim);
}

DWORD AttributesOf(const struct stat& st)
{
    if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return IsReadOnly(st) ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
}

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd()
    {
        if (fd_ >= 0) ::close(fd_);  // a close error on a read-only or flushed file is ignored
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool WriteAll(int fd, std::span<const std::byte> data, DWORD& written)
{
    written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetLastError(ErrorFromErrno(errno));
            return false;
        }
        if (n == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        written += static_cast<DWORD>(n);
    }
    return true;
}

class FileObject : public platform::detail::HandleObject {
public:
    explicit FileObject(int fd) : fd_(fd) {}
    int fd() const { return fd_.get(); }

    bool Read(std::span<std::byte> buffer, DWORD& got) override
    {
        got = 0;
        while (got < buffer.size()) {
            const ssize_t n = ::read(fd_.get(), buffer.data() + got, buffer.size() - got);
            if (n < 0) {
                if (errno == EINTR) continue;
                SetLastError(ErrorFromErrno(errno));
                return false;
            }
            if (n == 0) break;  // end of file
            got += static_cast<DWORD>(n);
        }
        return true;
    }

    bool Write(std::span<const std::byte> data, DWORD& written) override
    {
        return WriteAll(fd_.get(), data, written);
    }

    bool Flush() override
    {
        if (::fsync(fd_.get()) == 0) return true;
        SetLastError(ErrorFromErrno(errno));
        return false;
    }

private:
    UniqueFd fd_;
};

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

std::shared_ptr<FileObject> FindFile(HANDLE file)
{
    auto object = platform::detail::FindHandleAs<FileObject>(file);
    if (!object) SetLastError(ERROR_INVALID_HANDLE);
    return object;
}

// Copies one regular file through a temporary beside the target, so that a failed copy (a
// full USB stick, a pulled drive) leaves any earlier target as it was.
bool CopyRegularFile(const fs::path& from, const fs::path& to)
{
    const UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return Fail(ErrorFromErrno(errno), false);
    struct stat st {};
    if (::fstat(in.get(), &st) != 0) return Fail(ErrorFromErrno(errno), false);
    fs::path temp = to;
    temp += ".copy-part";
    bool ok = false;
    {
        const UniqueFd out(
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777));
        if (out.get() < 0) return Fail(ErrorFromErrno(errno), false);
        std::vector<std::byte> buffer(kCopyChunk);
        ok = true;
        for (;;) {
            const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                SetLastError(ErrorFromErrno(errno));
                ok = false;
                break;
            }
            if (n == 0) break;
            DWORD written = 0;
            if (!WriteAll(out.get(), std::span(buffer).first(static_cast<std::size_t>(n)),
                          written)) {
                ok = false;
                break;
            }
        }
        if (ok) {
            const std::array<struct timespec, 2> times = {st.st_atim, st.st_mtim};
            ::futimens(out.get(), times.data());  // the copy keeps the source's times if it can
            if (::fsync(out.get()) != 0) ok = Fail(ErrorFromErrno(errno), false);
        }
    }
    if (ok && ::rename(temp.c_str(), to.c_str()) != 0) ok = Fail(ErrorFromErrno(errno), false);
    if (!ok) ::unlink(temp.c_str());  // the partial copy goes; its error is not the caller's
    return ok;
}

}  // namespace

// ---- paths ----

namespace platform {

void SetPanelRoots(const fs::path& root, const fs::path& usb)
{
    Roots& r = PanelRoots();
    std::lock_guard lock(r.mutex);
    r.root = root;
    r.usb = usb.empty() ? root / "Hard Disk2" : usb;
}

const fs::path& PanelRoot()
{
    Roots& r = PanelRoots();
    std::lock_guard lock(r.mutex);
    return r.root;
}

const fs::path& UsbRoot()
{
    Roots& r = PanelRoots();
    std::lock_guard lock(r.mutex);
    return r.usb;
}

fs::path MapPanelPath(std::wstring_view panelPath)
{
    std::vector<std::wstring> parts = SplitPanelPath(panelPath);
    fs::path base;
    {
        Roots& r = PanelRoots();
        std::lock_guard lock(r.mutex);
        base = r.root;
        if (!parts.empty() && (EqualNoCase(parts.front(), L"Hard Disk2") ||
                               EqualNoCase(parts.front(), L"USB Storage"))) {
            base = r.usb;
            parts.erase(parts.begin());
        }
    }
    // "." stays put and ".." climbs, but never above the root it started from.
    std::vector<std::wstring> clean;
    for (auto& part : parts) {
        if (part == L".") continue;
        if (part == L"..") {
            if (!clean.empty()) clean.pop_back();
            continue;
        }
        clean.push_back(std::move(part));
    }
    fs::path host = base;
    bool lookUp = true;
    for (const auto& part : clean) {
        if (lookUp) {
            const std::wstring found = FindEntryNoCase(host, part);
            if (!found.empty()) {
                host /= Narrow(found);
                continue;
            }
            lookUp = false;  // below a missing folder nothing exists to match
        }
        host /= Narrow(part);
    }
    return host;
}

bool MatchPattern(std::wstring_view pattern, std::wstring_view name)
{
    if (pattern == L"*.*" || pattern == L"*") return true;
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::wstring_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            starName = n;
        } else if (starAt != std::wstring_view::npos) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

std::wstring Widen(std::string_view utf8)
{
    std::wstring out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        bool ok = i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += L'\xFFFD';
            ++i;  // resynchronise on the next byte
            continue;
        }
        out += static_cast<wchar_t>(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Narrow(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    for (const wchar_t w : wide) {
        auto cp = static_cast<char32_t>(w);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace platform

// ---- files ----

HANDLE CreateFile(const wchar_t* path, DWORD access, DWORD, void*, DWORD disposition,
                  DWORD attributes, HANDLE)
{
    if (path == nullptr || path[0] == L'\0')
        return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    if (platform::detail::IsSerialPortName(path)) return platform::detail::OpenSerialPort(path);

    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    const bool existed = ::stat(host.c_str(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    const bool wantsWrite = (access & GENERIC_WRITE) != 0;
    // The owner may write anything on this host; a read-only file must still refuse writers.
    if (existed && wantsWrite && IsReadOnly(st))
        return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);

    int flags = O_CLOEXEC;
    flags |= wantsWrite ? ((access & GENERIC_READ) != 0 ? O_RDWR : O_WRONLY) : O_RDONLY;
    switch (disposition) {
        case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
        case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
        case OPEN_EXISTING: break;
        case OPEN_ALWAYS: flags |= O_CREAT; break;
        case TRUNCATE_EXISTING:
            if (!wantsWrite) return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
            flags |= O_TRUNC;
            break;
        default: return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    }
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    const int fd = ::open(host.c_str(), flags, mode);
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT) return Fail(MissingError(host), INVALID_HANDLE_VALUE);
        return Fail(ErrorFromErrno(e), INVALID_HANDLE_VALUE);
    }
    HANDLE handle = platform::detail::AddHandle(std::make_shared<FileObject>(fd));
    const bool reportsExisting = disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS;
    SetLastError(reportsExisting && existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void*)
{
    if (read != nullptr) *read = 0;
    const auto object = platform::detail::FindHandle(file);
    if (!object) return FALSE;
    if (buffer == nullptr && toRead > 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    DWORD got = 0;
    const bool ok = object->Read(std::span(static_cast<std::byte*>(buffer), toRead), got);
    if (read != nullptr) *read = got;
    return ok ? TRUE : FALSE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void*)
{
    if (written != nullptr) *written = 0;
    const auto object = platform::detail::FindHandle(file);
    if (!object) return FALSE;
    if (buffer == nullptr && toWrite > 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    DWORD done = 0;
    const bool ok = object->Write(std::span(static_cast<const std::byte*>(buffer), toWrite), done);
    if (written != nullptr) *written = done;
    return ok ? TRUE : FALSE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method)
{
    const auto object = FindFile(file);
    if (!object) return INVALID_SET_FILE_POINTER;
    std::int64_t offset = distance;
    if (distanceHigh != nullptr) {
        offset = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
            static_cast<std::uint32_t>(distance));
    }
    int whence = SEEK_SET;
    switch (method) {
        case FILE_BEGIN: whence = SEEK_SET; break;
        case FILE_CURRENT: whence = SEEK_CUR; break;
        case FILE_END: whence = SEEK_END; break;
        default: return Fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    }
    const off_t at = ::lseek(object->fd(), static_cast<off_t>(offset), whence);
    if (at < 0) return Fail(ErrorFromErrno(errno), INVALID_SET_FILE_POINTER);
    const auto pos = static_cast<std::uint64_t>(at);
    if (distanceHigh != nullptr) {
        *distanceHigh = static_cast<LONG>(pos >> 32);
    } else if ((pos >> 32) != 0) {
        return Fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(pos & 0xFFFF'FFFFu);
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh)
{
    const auto object = FindFile(file);
    if (!object) return INVALID_FILE_SIZE;
    struct stat st {};
    if (::fstat(object->fd(), &st) != 0) return Fail(ErrorFromErrno(errno), INVALID_FILE_SIZE);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size & 0xFFFF'FFFFu);
}

BOOL SetEndOfFile(HANDLE file)
{
    const auto object = FindFile(file);
    if (!object) return FALSE;
    const off_t at = ::lseek(object->fd(), 0, SEEK_CUR);
    if (at < 0 || ::ftruncate(object->fd(), at) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file)
{
    const auto object = platform::detail::FindHandle(file);
    if (!object) return FALSE;
    return object->Flush() ? TRUE : FALSE;
}

BOOL GetFileTime(HANDLE file, FILETIME* created, FILETIME* accessed, FILETIME* written)
{
    const auto object = FindFile(file);
    if (!object) return FALSE;
    struct stat st {};
    if (::fstat(object->fd(), &st) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    if (created != nullptr) *created = CreationTime(object->fd(), "", AT_EMPTY_PATH, st);
    if (accessed != nullptr) *accessed = ToFileTime(st.st_atim);
    if (written != nullptr) *written = ToFileTime(st.st_mtim);
    return TRUE;
}

// ---- finding ----

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

// ---- whole files and folders ----

BOOL CopyFile(const wchar_t* from, const wchar_t* to, BOOL failIfExists)
{
    if (from == nullptr || to == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path source = platform::MapPanelPath(from);
    const fs::path target = platform::MapPanelPath(to);
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) return Fail(MissingError(source), FALSE);
    if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED, FALSE);
    struct stat tt {};
    if (::stat(target.c_str(), &tt) == 0) {
        if (failIfExists) return Fail(ERROR_FILE_EXISTS, FALSE);
        if (S_ISDIR(tt.st_mode) || IsReadOnly(tt)) return Fail(ERROR_ACCESS_DENIED, FALSE);
        if (st.st_dev == tt.st_dev && st.st_ino == tt.st_ino) return TRUE;  // onto itself
    }
    return CopyRegularFile(source, target) ? TRUE : FALSE;
}

BOOL DeleteFile(const wchar_t* path)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0) return Fail(MissingError(host), FALSE);
    if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED, FALSE);
    if (::unlink(host.c_str()) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL MoveFile(const wchar_t* from, const wchar_t* to)
{
    if (from == nullptr || to == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path source = platform::MapPanelPath(from);
    const fs::path target = platform::MapPanelPath(to);
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0) return Fail(MissingError(source), FALSE);
    struct stat tt {};
    if (::lstat(target.c_str(), &tt) == 0) return Fail(ERROR_ALREADY_EXISTS, FALSE);
    if (::rename(source.c_str(), target.c_str()) == 0) return TRUE;
    if (errno != EXDEV) return Fail(ErrorFromErrno(errno), FALSE);
    // Onto another drive (the USB folder may be one): copy, then remove the original.
    std::error_code ec;
    if (S_ISDIR(st.st_mode)) {
        fs::copy(source, target, fs::copy_options::recursive, ec);
        if (ec) return Fail(ErrorFromErrno(ec.value()), FALSE);
        fs::remove_all(source, ec);
        return TRUE;
    }
    if (!CopyRegularFile(source, target)) return FALSE;
    ::unlink(source.c_str());  // the copy is complete; a leftover original is harmless
    return TRUE;
}

BOOL CreateDirectory(const wchar_t* path, void*)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    if (::mkdir(host.c_str(), 0777) == 0) return TRUE;
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS, FALSE);
    if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND, FALSE);
    return Fail(ErrorFromErrno(errno), FALSE);
}

BOOL RemoveDirectory(const wchar_t* path)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    if (::rmdir(host.c_str()) == 0) return TRUE;
    if (errno == ENOENT) return Fail(MissingError(host), FALSE);
    if (errno == ENOTEMPTY || errno == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY, FALSE);
    if (errno == ENOTDIR) return Fail(ERROR_PATH_NOT_FOUND, FALSE);
    return Fail(ErrorFromErrno(errno), FALSE);
}

DWORD GetFileAttributes(const wchar_t* path)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, INVALID_FILE_ATTRIBUTES);
    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) return Fail(MissingError(host), INVALID_FILE_ATTRIBUTES);
    return AttributesOf(st);
}

BOOL SetFileAttributes(const wchar_t* path, DWORD attributes)
{
    if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const fs::path host = platform::MapPanelPath(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) return Fail(MissingError(host), FALSE);
    if (S_ISDIR(st.st_mode)) return TRUE;  // folders keep their permissions
    mode_t mode = st.st_mode & 07777;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        mode |= S_IWUSR;
    }
    if (::chmod(host.c_str(), mode) != 0) return Fail(ErrorFromErrno(errno), FALSE);
    return TRUE;
}

BOOL GetDiskFreeSpaceEx(const wchar_t* path, ULARGE_INTEGER* freeToCaller, ULARGE_INTEGER* total,
                        ULARGE_INTEGER* totalFree)
{
    const fs::path host = platform::MapPanelPath(path != nullptr ? path : L"\\");
    struct statvfs vfs {};
    if (::statvfs(host.c_str(), &vfs) != 0) return Fail(ERROR_PATH_NOT_FOUND, FALSE);
    const std::uint64_t unit = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
    if (freeToCaller != nullptr) freeToCaller->QuadPart = unit * vfs.f_bavail;
    if (total != nullptr) total->QuadPart = unit * vfs.f_blocks;
    if (totalFree != nullptr) totalFree->QuadPart = unit * vfs.f_bfree;
    return TRUE;
}
