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

// Lines split at LF, each losing one CR at its end; text after the last LF is a line
// too. A byte order mark that an editor may have put first is kept but not read.
std::vector<IniLine> SplitLines(std::string_view content)
{
    std::vector<IniLine> lines;
    std::size_t start = 0;
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
        lines.push_back(Classify(text, meaningful));
        start = hasEnd ? end + 1 : content.size();
    }
    return lines;
}

struct SectionSpan {
    std::size_t header = 0;  // index of the header line
    std::size_t end = 0;     // one past the section's last line
};

std::optional<SectionSpan> FindSection(const std::vector<IniLine>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Header || !SameName(lines[i].name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Header)
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<IniLine>& lines, const SectionSpan& span, std::string_view key)
{
    for (std::size_t i = span.header + 1; i < span.end; ++i)
        if (lines[i].kind == LineKind::Entry && SameName(lines[i].name, key))
            return i;
    return std::nullopt;
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

std::optional<std::string> FindIniValue(std::string_view content, std::string_view section, std::string_view key)
{
    const auto lines = SplitLines(content);
    const auto span = FindSection(lines, section);
    if (!span)
        return std::nullopt;
    const auto at = FindKey(lines, *span, key);
    if (!at)
        return std::nullopt;
    return DecodeValue(lines[*at].value);
}

std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value)
{
    const auto lines = SplitLines(content);
    const std::string entry = std::string(key) + '=' + EncodeValue(value);

    std::vector<std::string_view> out;
    out.reserve(lines.size() + 3);
    for (const auto& line : lines)
        out.push_back(line.text);

    const std::string header = '[' + std::string(section) + ']';
    if (const auto span = FindSection(lines, section)) {
        if (const auto at = FindKey(lines, *span, key)) {
            out[*at] = entry;
        } else {
            // After the section's last entry, so that blank lines and comments that
            // lead into the next section stay with it.
            std::size_t after = span->header;
            for (std::size_t i = span->header + 1; i < span->end; ++i)
                if (lines[i].kind == LineKind::Entry || lines[i].kind == LineKind::Other)
                    after = i;
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(after + 1), entry);
        }
    } else {
        if (!lines.empty() && lines.back().kind != LineKind::Blank)
            out.push_back({});
        out.push_back(header);
        out.push_back(entry);
    }

    std::string result;
    std::size_t size = 0;
    for (const auto& text : out)
        size += text.size() + 1;
    result.reserve(size);
    for (const auto& text : out) {
        result += text;
        result += '\n';
    }
    return result;
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
