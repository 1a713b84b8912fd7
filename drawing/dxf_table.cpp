// The table drawing's bytes: code page conversion and the entities.
#include "drawing/dxf_table.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#include "drawing/dxf_groups.h"

namespace tarvo {

namespace {

// Windows-1251 bytes 0x80..0xBF and the code points they stand for (0 for an unused byte);
// 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::uint16_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// The Windows-1251 byte of a code point, or nothing when it has none.
std::optional<unsigned char> Cp1251Byte(std::uint32_t cp) {
    if (cp < 0x80) {
        return static_cast<unsigned char>(cp);
    }
    if (cp >= 0x0410 && cp <= 0x044F) {
        return static_cast<unsigned char>(0xC0 + (cp - 0x0410));
    }
    for (int i = 0; i < 64; ++i) {
        if (kHighHalf[i] != 0 && kHighHalf[i] == cp) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Decodes one UTF-8 sequence at text[i] and advances i past it; nothing for a malformed one (i
// then steps over one byte).
std::optional<std::uint32_t> NextCodePoint(const std::string& text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::uint32_t cp = 0;
    int more = 0;
    if (lead < 0x80) {
        cp = lead;
    } else if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
        cp = lead & 0x1F;
        more = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F;
        more = 2;
    } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
        cp = lead & 0x07;
        more = 3;
    } else {
        ++i;
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(more) >= text.size()) {
        ++i;
        return std::nullopt;
    }
    for (int k = 1; k <= more; ++k) {
        const unsigned char c = byte(i + static_cast<std::size_t>(k));
        if ((c & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms and surrogates are not UTF-8.
    if ((more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (more == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
        ++i;
        return std::nullopt;
    }
    i += static_cast<std::size_t>(more) + 1;
    return cp;
}

// An entity's opening: its type and its layer.
void Entity(DxfGroups& out, const char* type, const char* layer) {
    out.Code(0, type);
    out.Code(8, layer);
}

// A point in the drawing's plane: x under `xCode` (10 for an entity's first point, 11 for its
// second), y under xCode + 10 and z, always 0, under xCode + 20.
void PlanePoint(DxfGroups& out, int xCode, double x, double y) {
    out.Coordinate(xCode, x);
    out.Coordinate(xCode + 10, y);
    out.Code(xCode + 20, "0");
}

}  // namespace

std::string DxfTextBytes(const std::string& utf8) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::optional<std::uint32_t> decoded = NextCodePoint(utf8, i);
        if (!decoded) {
            out += '?';
            continue;
        }
        const std::uint32_t cp = *decoded;
        if (cp < 0x20 || cp == 0x7F) {
            out += ' ';
            continue;
        }
        if (const std::optional<unsigned char> b = Cp1251Byte(cp)) {
            out += static_cast<char>(*b);
            continue;
        }
        char escape[16];
        std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(cp));
        out += escape;
    }
    return out;
}

WriteOutcome DxfWriteTable(const std::string& path, const DxfTableDrawing& table) {
    SafeFile file;
    const FileStep opened = file.Open(path);
    DxfGroups out(file);
    if (!opened.ok()) {
        out.Fail(opened.fault());
    }
    out.Code(0, "SECTION");
    out.Code(2, "HEADER");
    out.Code(9, "$ACADVER");
    out.Code(1, "AC1009");
    out.Code(9, "$DWGCODEPAGE");
    out.Code(3, "ANSI_1251");
    out.Code(0, "ENDSEC");
    out.Code(0, "SECTION");
    out.Code(2, "ENTITIES");
    for (const DxfTableLine& l : table.lines) {
        Entity(out, "LINE", "TABLE");
        PlanePoint(out, 10, l.x1, l.y1);
        PlanePoint(out, 11, l.x2, l.y2);
    }
    for (const DxfTableText& t : table.texts) {
        Entity(out, "TEXT", "TABLE_TEXT");
        PlanePoint(out, 10, t.x, t.y);
        out.Coordinate(40, t.height);
        out.Code(1, DxfTextBytes(t.text));
    }
    out.Code(0, "ENDSEC");
    out.Code(0, "EOF");
    if (!out.Flush()) {
        return WriteOutcome::Failure(*out.Fault());
    }
    return file.Commit();
}

}  // namespace tarvo
