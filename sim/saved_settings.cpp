// The saved settings file: its text, its checks, and writing it so that it is either the old
// set or the new one, never half of each.
#include "sim/saved_settings.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <system_error>

#include <unistd.h>
#include <nlohmann/json.hpp>

namespace sim {

namespace {

constexpr std::uintmax_t kLargestFile = 256 * 1024;  // a saved set is a few kilobytes

// CRC-32 (reflected polynomial 0xEDB88320, initial and final 0xFFFFFFFF).
std::uint32_t Crc32Add(std::uint32_t crc, std::uint8_t byte)
{
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    return crc;
}

// The checksum of a set: each saved field's offset (high, low), width and bytes in ascending
// order, so that it does not depend on how the text is laid out.
std::uint32_t Checksum(const StatusImage& image)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const ImageField& field : kImageLayout) {
        if (!IsSavedSetting(field)) continue;
        crc = Crc32Add(crc, static_cast<std::uint8_t>(field.offset >> 8));
        crc = Crc32Add(crc, static_cast<std::uint8_t>(field.offset & 0xFF));
        crc = Crc32Add(crc, field.width);
        for (std::size_t i = field.offset; i < field.end(); ++i) crc = Crc32Add(crc, image[i]);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string Hex8(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

SavedSettingsReading Refuse(const std::string& why)
{
    return SavedSettingsReading{std::nullopt, why};
}

// The settings object's entries into an image; an empty text when they are all there and
// sound, else what is wrong.
std::string TakeSettings(const nlohmann::json& settings, StatusImage& image)
{
    if (!settings.is_object()) return "its settings are not a list of fields";
    std::size_t expected = 0;
    for (const ImageField& field : kImageLayout) {
        if (!IsSavedSetting(field)) continue;
        ++expected;
        const std::string key = std::to_string(field.offset);
        const auto entry = settings.find(key);
        if (entry == settings.end()) return "the setting at offset " + key + " is missing";
        if (!entry->is_array() || entry->size() != field.width) {
            return "the setting at offset " + key + " is not " + std::to_string(field.width) +
                   " byte(s)";
        }
        for (std::size_t i = 0; i < field.width; ++i) {
            const nlohmann::json& byte = (*entry)[i];
            if (!byte.is_number_unsigned() || byte.get<unsigned>() > 255) {
                return "the setting at offset " + key + " holds a value that is not a byte";
            }
            image[field.offset + i] = static_cast<std::uint8_t>(byte.get<unsigned>());
        }
    }
    if (settings.size() != expected) return "it holds settings this dryer does not have";
    return {};
}

}  // namespace

void CopySavedSettings(const StatusImage& from, StatusImage& to)
{
    for (const ImageField& field : kImageLayout) {
        if (IsSavedSetting(field)) CopyField(from, to, field);
    }
    for (const ImageBits& request : kRequestBits) SetBits(to, request, false);
}

std::string SavedSettingsText(const StatusImage& image)
{
    StatusImage saved{};
    CopySavedSettings(image, saved);
    std::string text = "{\n";
    text += "\"format\": \"" + std::string(kSavedSettingsFormat) + "\",\n";
    text += "\"version\": " + std::to_string(kSavedSettingsVersion) + ",\n";
    text += "\"settings\": {\n";
    bool first = true;
    for (const ImageField& field : kImageLayout) {
        if (!IsSavedSetting(field)) continue;
        if (!first) text += ",\n";
        first = false;
        text += "\"" + std::to_string(field.offset) + "\": [";
        for (std::size_t i = field.offset; i < field.end(); ++i) {
            if (i != field.offset) text += ", ";
            text += std::to_string(saved[i]);
        }
        text += "]";
    }
    text += "\n},\n";
    text += "\"checksum\": \"" + Hex8(Checksum(saved)) + "\"\n";
    text += "}\n";
    return text;
}

SavedSettingsReading ParseSavedSettings(const std::string& text)
{
    const nlohmann::json file = nlohmann::json::parse(text, nullptr, false);
    if (file.is_discarded()) return Refuse("it is not whole (not readable as JSON)");
    if (!file.is_object()) return Refuse("it is not a saved settings file");
    const auto format = file.find("format");
    if (format == file.end() || !format->is_string() ||
        format->get<std::string>() != kSavedSettingsFormat) {
        return Refuse("it is not a saved settings file");
    }
    const auto version = file.find("version");
    if (version == file.end() || !version->is_number_integer()) {
        return Refuse("it has no version");
    }
    if (version->get<long long>() != kSavedSettingsVersion) {
        return Refuse("it is of version " + version->dump() + ", not " +
                      std::to_string(kSavedSettingsVersion));
    }
    const auto settings = file.find("settings");
    const auto checksum = file.find("checksum");
    if (settings == file.end() || checksum == file.end() || !checksum->is_string() ||
        file.size() != 4) {
        return Refuse("it is not laid out as a saved settings file");
    }
    StatusImage image{};
    if (const std::string why = TakeSettings(*settings, image); !why.empty()) return Refuse(why);
    if (checksum->get<std::string>() != Hex8(Checksum(image))) {
        return Refuse("its checksum does not match its settings (the file is damaged)");
    }
    return SavedSettingsReading{image, {}};
}

bool WriteSavedSettings(const std::filesystem::path& file, const StatusImage& image,
                        std::string* error)
{
    const auto fail = [error](const std::string& why) {
        if (error != nullptr) *error = why;
        return false;
    };
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    const std::filesystem::path temporary = file.string() + ".tmp";
    const std::string text = SavedSettingsText(image);
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) return fail("cannot create " + temporary.string());
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() &&
                         std::fflush(out) == 0 && ::fsync(::fileno(out)) == 0;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        std::filesystem::remove(temporary, ec);
        return fail("cannot write " + temporary.string() + " (is the disk full?)");
    }
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return fail("cannot replace " + file.string() + ": " + ec.message());
    }
    return true;
}

SavedSettingsReading ReadSavedSettings(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return Refuse("there is no such file");
    if (!std::filesystem::is_regular_file(file, ec)) return Refuse("it is not a file");
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) return Refuse("it cannot be read: " + ec.message());
    if (size > kLargestFile) return Refuse("it is far too large for a saved settings file");
    std::ifstream in(file, std::ios::binary);
    if (!in) return Refuse("it cannot be opened");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return Refuse("it cannot be read");
    return ParseSavedSettings(text.str());
}

}  // namespace sim
