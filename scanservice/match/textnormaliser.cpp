// Normalisation of extracted text before privacy matching.
#include "textnormaliser.h"

#include <QChar>
#include <QHash>
#include <QString>

#include <algorithm>
#include <initializer_list>

namespace {

// One character of the text with the span of original bytes it stands for.
struct Unit
{
    char32_t c;
    int from;
    int to;
};

// Decodes UTF-8; a byte that starts no valid sequence is a unit of its own
// (as U+DC00 + byte, so that it is written back unchanged).
QVector<Unit> decode(const QByteArray &utf8)
{
    QVector<Unit> units;
    units.reserve(utf8.size());
    const auto *b = reinterpret_cast<const unsigned char *>(utf8.constData());
    const int n = utf8.size();
    for (int i = 0; i < n;) {
        const unsigned char lead = b[i];
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            valid = (b[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (b[i + k] & 0x3F);
        }
        static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            units.append({char32_t(0xDC00 + lead), i, i + 1});
            ++i;
            continue;
        }
        units.append({c, i, i + length});
        i += length;
    }
    return units;
}

char32_t folded(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return c - 0xFEE0;
    if (c == 0x3000 || c == 0x00A0)
        return U' ';
    if (c >= 0x2F00 && c <= 0x2FD5) {
        // Kangxi radicals: their compatibility decomposition is the ideograph.
        const QString d = QChar(ushort(c)).decomposition();
        return d.size() == 1 ? char32_t(d.at(0).unicode()) : c;
    }
    if (c >= 0x2E80 && c <= 0x2EF3) {
        static const QHash<ushort, ushort> supplement{
            {0x2E8C, 0x5C0F}, {0x2E97, 0x5FC3}, {0x2E9F, 0x6BCD}, {0x2EA0, 0x6C11}, {0x2EA9, 0x738B}, {0x2EAB, 0x76EE},
            {0x2EAC, 0x793A}, {0x2EB7, 0x7F8A}, {0x2EC4, 0x897F}, {0x2EC5, 0x89C1}, {0x2EC6, 0x89D2}, {0x2EC9, 0x8D1D},
            {0x2ECB, 0x8F66}, {0x2ED1, 0x9577}, {0x2ED3, 0x957F}, {0x2ED4, 0x95E8}, {0x2ED7, 0x96E8}, {0x2ED8, 0x9752},
            {0x2ED9, 0x97E6}, {0x2EDA, 0x9875}, {0x2EDB, 0x98CE}, {0x2EDC, 0x98DE}, {0x2EDD, 0x98DF}, {0x2EE2, 0x9A6C},
            {0x2EE3, 0x9AA8}, {0x2EE4, 0x9B3C}, {0x2EE5, 0x9C7C}, {0x2EE6, 0x9E1F}, {0x2EE7, 0x5364}, {0x2EE8, 0x9EA6},
            {0x2EE9, 0x9EC4}, {0x2EEA, 0x9EFE}, {0x2EEC, 0x9F50}, {0x2EEE, 0x9F7F}, {0x2EF0, 0x9F99}, {0x2EF3, 0x9F9F}};
        return supplement.value(ushort(c), ushort(c));
    }
    return c;
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool isAsciiAlnum(char32_t c)
{
    return isDigit(c) || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

// A number read in groups: its digits, the lengths of its groups, and how
// they were parted.
struct Grouped
{
    int end = 0;          // index after the last unit
    QVector<int> groups;  // digits per group
    QVector<int> digits;  // unit indexes of the digits (and of an identity number's final X)
    char32_t separator = 0; // ' ', '-', '.', '\n' (a line break), or 0
    bool plus = false;      // "+86" before it
    bool parenthesised = false; // "(0xx)" area code first
};

bool lengthsAre(const QVector<int> &groups, std::initializer_list<int> lengths)
{
    return groups == QVector<int>(lengths);
}

// A number of its own: a mobile number, an identity, card or device number,
// a disability card (an identity number and two digits).
bool wholeNumber(const QVector<Unit> &u, const QVector<int> &digits, int first, int count)
{
    if (count == 11 && u.at(digits.at(first)).c == U'1')
        return true;
    return count >= 15 && count <= 20;
}

// A value broken by a line wrap has text before it on its first line; a
// number alone on its line (a list, a column of cells) is not joined to the next.
bool wrapsAfterText(const QVector<Unit> &u, int start)
{
    int k = start - 1;
    while (k >= 0 && (u.at(k).c == U' ' || u.at(k).c == U'\t'))
        --k;
    return k >= 0 && u.at(k).c != U'\n' && u.at(k).c != U'\r';
}

bool fixedLineGroups(const QVector<int> &g, char32_t leading)
{
    if (leading != U'0' || g.isEmpty() || (g.first() != 3 && g.first() != 4))
        return false;
    const QVector<int> rest = g.mid(1);
    return rest == QVector<int>{7} || rest == QVector<int>{8} || rest == QVector<int>{4, 4} || rest == QVector<int>{3, 4};
}

// Whether digit groups with this separator form a number written in parts.
bool numberShaped(const QVector<Unit> &u, const Grouped &g)
{
    const QVector<int> &n = g.groups;
    int total = 0;
    for (int length : n)
        total += length;
    const char32_t leading = u.at(g.digits.first()).c;
    if (g.parenthesised)
        return fixedLineGroups(n, U'0');
    if (g.plus) // "+86" then the mobile number in one or three groups
        return n.first() == 2 && (n.mid(1) == QVector<int>{11} || n.mid(1) == QVector<int>{3, 4, 4});
    if (g.separator == U'\n')
        return n.size() == 2 && wrapsAfterText(u, g.digits.first()) && n.at(0) >= 2 && n.at(1) >= 2 && wholeNumber(u, g.digits, 0, total)
               && !wholeNumber(u, g.digits, 0, n.at(0)) && !wholeNumber(u, g.digits, n.at(0), n.at(1));
    const bool mobile = leading == U'1' && lengthsAre(n, {3, 4, 4});
    const bool prefixedMobile = lengthsAre(n, {2, 3, 4, 4}) && u.at(g.digits.at(0)).c == U'8' && u.at(g.digits.at(1)).c == U'6';
    if (g.separator == U'.')
        return mobile || fixedLineGroups(n, leading);
    const bool identity = total == 18 && (lengthsAre(n, {6, 8, 4}) || lengthsAre(n, {6, 4, 4, 4}));
    bool card = total >= 16 && total <= 19 && n.size() >= 4;
    for (int i = 0; card && i < n.size(); ++i)
        card = i + 1 < n.size() ? n.at(i) == 4 : n.at(i) >= 1 && n.at(i) <= 4;
    const bool device = total == 15 && (lengthsAre(n, {2, 6, 6, 1}) || lengthsAre(n, {8, 6, 1}));
    return mobile || prefixedMobile || fixedLineGroups(n, leading) || identity || card || device;
}

// Reads digit groups from units[i]; false when there is no number of more
// than one group there.
bool readGroups(const QVector<Unit> &u, int i, Grouped *g)
{
    const int n = u.size();
    auto c = [&](int k) { return k < n ? u.at(k).c : char32_t(0); };
    if (c(i) == U'+' && c(i + 1) == U'8' && c(i + 2) == U'6') {
        g->plus = true;
        ++i;
    } else if (c(i) == U'(' && c(i + 1) == U'0') {
        int k = i + 1;
        QVector<int> area;
        while (isDigit(c(k)))
            area.append(k++);
        if (c(k) != U')' || (area.size() != 3 && area.size() != 4))
            return false;
        g->parenthesised = true;
        g->groups.append(area.size());
        g->digits = area;
        i = k + 1;
        if (c(i) == U' ')
            ++i;
        if (!isDigit(c(i)))
            return false;
    }
    if (!isDigit(c(i)))
        return false;
    for (;;) {
        int length = 0;
        while (isDigit(c(i))) {
            g->digits.append(i++);
            ++length;
        }
        // An identity number's check character ends its last group.
        if ((c(i) == U'X' || c(i) == U'x') && !isAsciiAlnum(c(i + 1))) {
            g->digits.append(i++);
            ++length;
        }
        g->groups.append(length);
        g->end = i;
        if (!g->digits.isEmpty() && (u.at(g->digits.last()).c | 0x20) == U'x')
            break;
        // The next group, after one separator of the kind already used.
        char32_t separator = c(i);
        int skip = 1;
        if (separator == U'\r' && c(i + 1) == U'\n') {
            separator = U'\n';
            skip = 2;
        }
        if (separator != U' ' && separator != U'-' && separator != U'.' && separator != U'\n')
            break;
        if (g->plus && g->groups.size() == 1 && separator == U'\n')
            break;
        if (g->separator && separator != g->separator)
            break;
        if (!isDigit(c(i + skip)))
            break;
        g->separator = separator;
        i += skip;
    }
    return g->groups.size() > 1;
}

} // namespace

QPair<int, int> TextNormaliser::Normalised::original(int start, int end) const
{
    if (start < 0 || end > text.size() || start >= end)
        return {-1, -1};
    return {from.at(start), to.at(end - 1)};
}

TextNormaliser::Normalised TextNormaliser::normalise(const QByteArray &utf8)
{
    QVector<Unit> units = decode(utf8);
    for (Unit &unit : units)
        unit.c = folded(unit.c);

    QVector<Unit> out;
    out.reserve(units.size());
    for (int i = 0; i < units.size();) {
        const char32_t c = units.at(i).c;
        const bool starts = (isDigit(c) || c == U'+' || c == U'(') && (i == 0 || !isAsciiAlnum(units.at(i - 1).c));
        Grouped g;
        const bool grouped = starts && readGroups(units, i, &g);
        if (grouped && !isAsciiAlnum(g.end < units.size() ? units.at(g.end).c : 0) && numberShaped(units, g)) {
            // One run of digits; its first character stands for the whole
            // written start ("+", "(") and its last for everything up to the end.
            const int first = out.size();
            if (g.plus)
                out.append({U'+', units.at(i).from, units.at(i).to});
            for (int k : g.digits)
                out.append(units.at(k));
            out[first].from = units.at(i).from;
            out.last().to = units.at(g.end - 1).to;
            i = g.end;
            continue;
        }
        // Not a number in parts: its groups stay as they are, none of them
        // the start of another ("2024.0101.0001.0002" is no "0101.0001.0002").
        if (grouped) {
            while (i < g.end)
                out.append(units.at(i++));
            continue;
        }
        do {
            out.append(units.at(i++));
        } while (isDigit(c) && i < units.size() && isDigit(units.at(i).c));
    }

    Normalised result;
    result.text.reserve(utf8.size());
    result.from.reserve(utf8.size());
    result.to.reserve(utf8.size());
    for (const Unit &unit : out) {
        char bytes[4];
        int length = 0;
        const char32_t c = unit.c;
        if (c >= 0xDC80 && c <= 0xDCFF && unit.to - unit.from == 1) {
            bytes[length++] = char(c - 0xDC00); // a byte that was no UTF-8
        } else if (c < 0x80) {
            bytes[length++] = char(c);
        } else if (c < 0x800) {
            bytes[length++] = char(0xC0 | (c >> 6));
            bytes[length++] = char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes[length++] = char(0xE0 | (c >> 12));
            bytes[length++] = char(0x80 | ((c >> 6) & 0x3F));
            bytes[length++] = char(0x80 | (c & 0x3F));
        } else {
            bytes[length++] = char(0xF0 | (c >> 18));
            bytes[length++] = char(0x80 | ((c >> 12) & 0x3F));
            bytes[length++] = char(0x80 | ((c >> 6) & 0x3F));
            bytes[length++] = char(0x80 | (c & 0x3F));
        }
        result.text.append(bytes, length);
        for (int k = 0; k < length; ++k) {
            result.from.append(unit.from);
            result.to.append(unit.to);
        }
    }
    return result;
}
