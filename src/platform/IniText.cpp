#include "platform/IniText.h"

#include <vector>

namespace tickforge {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool HasOuterQuotes(std::string_view s) { return s.size() >= 2 && IsQuote(s.front()) && s.front() == s.back(); }

enum class LineKind { Blank, Comment, Header, Entry, Other };

struct IniLine {
    std::string_view text;  // without its line ending
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name of a header, key of an entry
    std::string_view value;  // raw value of an entry, blanks trimmed
};

IniLine Classify(std::string_view text, std::string_view meaningful)
{
    IniLine line;
    line.text = text;
    const std::string_view trimmed = TrimBlanks(meaningful);
    if (trimmed.empty()) {
        line.kind = LineKind::Blank;
    } else if (trimmed.front() == ';' || trimmed.front() == '#') {
        line.kind = LineKind::Comment;
    } else if (trimmed.front() == '[') {
        // A header without its closing bracket is kept as an unknown line.
        const auto close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Header;
            line.name = TrimBlanks(trimmed.substr(1, close - 1));
        }
    } else if (const auto equals = trimmed.find('='); equals != std::string_view::npos) {
        line.name = TrimBlanks(trimmed.substr(0, equals));
        line.value = TrimBlanks(trimmed.substr(equals + 1));
        line.kind = line.name.empty() ? LineKind::Other : LineKind::Entry;
    }
    return line;
}

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// Calls visit(line, index) for each line, split at LF, each losing one CR at its end;
// text after the last LF is a line too. A byte order mark that an editor may have put
// first is kept but not read. One pass, nothing stored: a huge file costs only time.
template <typename Visit>
void ForEachLine(std::string_view content, Visit visit)
{
    std::size_t start = 0;
    std::size_t index = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        const bool hasEnd = end != std::string_view::npos;
        if (!hasEnd)
            end = content.size();
        std::string_view text = content.substr(start, end - start);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        std::string_view meaningful = text;
        if (start == 0 && meaningful.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
            meaningful.remove_prefix(Utf8ByteOrderMark.size());
        visit(Classify(text, meaningful), index++);
        start = hasEnd ? end + 1 : content.size();
    }
}

// Where the first section of a name lies, and where each wanted key stands in it.
struct SectionLayout {
    bool found = false;
    std::size_t lastEntry = 0;  // index of the section's last entry (or the header)
    bool lastLineBlank = true;
    std::vector<std::optional<std::size_t>> keyLines;
};

SectionLayout LayOut(std::string_view content, std::string_view section, const std::vector<IniEntry>& entries)
{
    SectionLayout layout;
    layout.keyLines.resize(entries.size());
    bool inside = false;
    ForEachLine(content, [&](const IniLine& line, std::size_t index) {
        layout.lastLineBlank = line.kind == LineKind::Blank;
        if (line.kind == LineKind::Header) {
            inside = !layout.found && SameName(line.name, section);
            if (inside) {
                layout.found = true;
                layout.lastEntry = index;
            }
            return;
        }
        if (!inside)
            return;
        // After the section's last entry, so that blank lines and comments that lead
        // into the next section stay with it.
        if (line.kind == LineKind::Entry || line.kind == LineKind::Other)
            layout.lastEntry = index;
        if (line.kind != LineKind::Entry)
            return;
        for (std::size_t k = 0; k < entries.size(); ++k)
            if (!layout.keyLines[k] && SameName(line.name, entries[k].key))
                layout.keyLines[k] = index;
    });
    return layout;
}

std::string DecodeValue(std::string_view raw)
{
    if (const auto nul = raw.find('\0'); nul != std::string_view::npos)
        raw = TrimBlanks(raw.substr(0, nul));
    if (HasOuterQuotes(raw))
        raw = raw.substr(1, raw.size() - 2);
    return std::string(raw.substr(0, ProfileValueMaxLength));
}

std::string EncodeValue(std::string_view value)
{
    std::string text(value);
    for (char& c : text)
        if (c == '\0' || c == '\r' || c == '\n')
            c = ' ';
    const bool outerBlanks = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
    if (outerBlanks || HasOuterQuotes(text))
        return '"' + text + '"';
    return text;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f'); }

}  // namespace

IniSectionValues::IniSectionValues(std::string_view content, std::string_view section)
{
    bool inside = false;
    bool found = false;
    ForEachLine(content, [&](const IniLine& line, std::size_t) {
        if (line.kind == LineKind::Header) {
            inside = !found && SameName(line.name, section);
            found = found || inside;
        } else if (inside && line.kind == LineKind::Entry) {
            entries_.emplace_back(line.name, line.value);
        }
    });
}

std::optional<std::string> IniSectionValues::Find(std::string_view key) const
{
    for (const auto& [name, raw] : entries_)
        if (SameName(name, key))
            return DecodeValue(raw);
    return std::nullopt;
}

std::optional<std::string> FindIniValue(std::string_view content, std::string_view section, std::string_view key)
{
    return IniSectionValues(content, section).Find(key);
}

std::string SetIniValues(std::string_view content, std::string_view section, const std::vector<IniEntry>& entries)
{
    const SectionLayout layout = LayOut(content, section, entries);
    std::string result;
    result.reserve(content.size() + 64 * entries.size() + section.size() + 8);
    const auto addEntry = [&](const IniEntry& entry) {
        result.append(entry.key);
        result += '=';
        result += EncodeValue(entry.value);
        result += '\n';
    };
    // A key met twice in the list counts with its last value, as one write after another.
    const auto lastOf = [&](std::size_t k) {
        std::size_t last = k;
        for (std::size_t j = k + 1; j < entries.size(); ++j)
            if (SameName(entries[j].key, entries[k].key))
                last = j;
        return last;
    };
    const auto addNewKeys = [&] {
        for (std::size_t k = 0; k < entries.size(); ++k) {
            bool earlier = false;
            for (std::size_t j = 0; j < k && !earlier; ++j)
                earlier = SameName(entries[j].key, entries[k].key);
            if (!layout.keyLines[k] && !earlier)
                addEntry(entries[lastOf(k)]);
        }
    };
    ForEachLine(content, [&](const IniLine& line, std::size_t index) {
        bool replaced = false;
        for (std::size_t k = 0; k < entries.size() && !replaced; ++k)
            if (layout.keyLines[k] == index) {
                addEntry(entries[lastOf(k)]);
                replaced = true;
            }
        if (!replaced) {
            result.append(line.text);
            result += '\n';
        }
        if (layout.found && index == layout.lastEntry)
            addNewKeys();
    });
    if (!layout.found) {
        if (!layout.lastLineBlank)
            result += '\n';
        result += '[';
        result.append(section);
        result += "]\n";
        addNewKeys();
    }
    return result;
}

std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value)
{
    return SetIniValues(content, section, {IniEntry{std::string(key), std::string(value)}});
}

std::optional<bool> ParseIniFlag(std::string_view value)
{
    if (!value.empty() && (value.front() == '+' || value.front() == '-'))
        value.remove_prefix(1);
    bool hex = false;
    if (value.size() >= 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        hex = true;
        value.remove_prefix(2);
    }
    if (value.empty())
        return std::nullopt;
    // Only zero or not matters, so any number of digits is fine.
    bool nonZero = false;
    for (char c : value) {
        const bool digit = hex ? IsHexDigit(c) : (c >= '0' && c <= '9');
        if (!digit)
            return std::nullopt;
        nonZero = nonZero || c != '0';
    }
    return nonZero;
}

}  // namespace tickforge
