#pragma once

#include "text/Utf16Text.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

// Reads a string table as the sources hold it, a flat JSON object of number
// -> text, for the tests that compare built libraries with their sources
// where no toolkit is at hand. False on anything else.
inline bool ReadFlatJsonStrings(const std::string& path, std::map<int, std::string>& table)
{
    std::ifstream in(path, std::ios::binary);
    const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = 0;
    auto skip = [&] {
        while (at < json.size() && std::isspace(static_cast<unsigned char>(json[at])))
            ++at;
    };
    auto expect = [&](char c) {
        skip();
        return at < json.size() && json[at++] == c;
    };
    auto text = [&](std::string& out) {
        if (!expect('"'))
            return false;
        std::u16string wide;
        while (at < json.size() && json[at] != '"') {
            if (json[at] != '\\') {
                size_t end = at;
                while (end < json.size() && json[end] != '"' && json[end] != '\\')
                    ++end;
                wide += Utf8ToUtf16(json.substr(at, end - at));
                at = end;
                continue;
            }
            if (++at >= json.size())
                return false;
            const char c = json[at++];
            const std::string plain = "\"\\/bfnrt";
            const std::string meant = "\"\\/\b\f\n\r\t";
            if (c == 'u' && at + 4 <= json.size()) {
                wide += char16_t(std::stoi(json.substr(at, 4), nullptr, 16));
                at += 4;
            } else if (plain.find(c) != std::string::npos) {
                wide += char16_t(meant[plain.find(c)]);
            } else {
                return false;
            }
        }
        out = Utf16ToUtf8(wide);
        return expect('"');
    };
    table.clear();
    if (!expect('{'))
        return false;
    skip();
    if (at < json.size() && json[at] == '}')
        return true;
    for (;;) {
        std::string key, value;
        if (!text(key) || !expect(':') || !text(value))
            return false;
        table[std::stoi(key)] = value;
        skip();
        if (at < json.size() && json[at] == ',') {
            ++at;
            continue;
        }
        return expect('}');
    }
}
