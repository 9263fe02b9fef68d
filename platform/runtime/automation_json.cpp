// The automation answers as JSON (nlohmann::json, keys in the order written here): windows
// with their controls, list rows, message box buttons, and the texts and pictures each drew. Bytes
// that are not UTF-8 are replaced on output, so every answer parses.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "platform/runtime/detail_automation_json.h"
#include "platform/runtime/utf8.h"
#include "platform/windowing/detail_window.h"

namespace platform::detail {

namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& j)
{
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json Rect(const RECT& r)
{
    return Json::array({r.left, r.top, r.right, r.bottom});
}

Json Texts(const std::vector<std::wstring>& texts)
{
    Json out = Json::array();
    for (const std::wstring& t : texts) out.push_back(JsonText(t));
    return out;
}

std::string Colour(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

Json TextsJson(const std::vector<DrawnText>& drawn)
{
    Json texts = Json::array();
    for (const DrawnText& t : drawn) {
        texts.push_back(Json{{"text", JsonText(t.text)},
                             {"rect", Rect(t.rect)},
                             {"colour", Colour(t.colour)},
                             {"box", Rect(t.box)},
                             {"extent", Rect(t.extent)},
                             {"cut", t.cut}});
    }
    return texts;
}

Json PicturesJson(const std::vector<DrawnPicture>& drawn)
{
    Json pictures = Json::array();
    for (const DrawnPicture& p : drawn) {
        pictures.push_back(Json{
            {"source", JsonText(p.source)}, {"rect", Rect(p.rect)}, {"ink", Rect(p.InkBox())}});
    }
    return pictures;
}

Json ControlJson(const ControlInfo& c)
{
    Json j;
    j["id"] = c.id;
    j["class"] = JsonText(c.className);
    j["text"] = JsonText(c.text);
    j["rect"] = Rect(c.rect);
    j["visible"] = c.visible;
    j["enabled"] = c.enabled;
    j["checked"] = c.checked;
    j["pressed"] = c.pressed;
    j["texts"] = TextsJson(c.texts);
    j["pictures"] = PicturesJson(c.pictures);
    if (!c.isList) return j;
    if (!c.columns.empty()) j["columns"] = Texts(c.columns);
    if (!c.columnWidths.empty()) j["columnWidths"] = c.columnWidths;
    Json rows = Json::array();
    int selected = -1;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        rows.push_back(Json{{"cells", Texts(c.rows[i].cells)}, {"selected", c.rows[i].selected}});
        if (c.rows[i].selected) selected = static_cast<int>(i);
    }
    j["rows"] = std::move(rows);
    j["selectedRow"] = selected;
    j["topRow"] = c.topRow;
    return j;
}

Json WindowJson(const WindowInfo& w)
{
    Json j;
    j["class"] = JsonText(w.className);
    j["title"] = JsonText(w.title);
    j["rect"] = Rect(w.rect);
    j["topLevel"] = w.topLevel;
    j["isMessageBox"] = w.isMessageBox;
    if (w.isMessageBox) {
        j["messageText"] = JsonText(w.messageText);
        j["buttons"] = Texts(w.buttons);
    }
    Json controls = Json::array();
    for (const ControlInfo& c : w.controls) controls.push_back(ControlJson(c));
    j["controls"] = std::move(controls);
    j["texts"] = TextsJson(w.texts);
    j["pictures"] = PicturesJson(w.pictures);
    return j;
}

}  // namespace

std::string JsonText(const std::wstring& text)
{
    std::wstring joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const auto low = static_cast<std::uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                joined.push_back(
                    static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        joined.push_back(text[i]);  // Narrow turns what is left over into U+FFFD
    }
    return Narrow(joined);
}

std::string OkJson()
{
    return Dump(Json{{"ok", true}});
}

std::string ErrorJson(std::string_view why)
{
    return Dump(Json{{"ok", false}, {"error", std::string(why)}});
}

std::string WindowsJson(const std::vector<WindowInfo>& windows, bool withOk)
{
    Json j;
    if (withOk) j["ok"] = true;
    Json list = Json::array();
    for (const WindowInfo& w : windows) list.push_back(WindowJson(w));
    j["windows"] = std::move(list);
    return Dump(j);
}

}  // namespace platform::detail
