// Pictures of the checked screens for a person to look at (TEXT_FIT_PICTURES).
#include "tests/dryer/textfit/fit_pictures_support.h"

#include <cstdlib>
#include <filesystem>

#include "platform/runtime/runtime.h"

namespace fit_test {

void KeepPicture(const std::string& name)
{
    const char* folder = std::getenv("TEXT_FIT_PICTURES");
    if (folder == nullptr || *folder == 0) return;
    std::string file;
    for (char c : name) file.push_back(c == '/' || c == ' ' ? '_' : c);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    platform::SaveScreenshot(std::filesystem::path(folder) / (file + ".png"));
}

}  // namespace fit_test
