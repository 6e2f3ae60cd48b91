#include "shell/desktop_files.h"

#include <algorithm>
#include <array>

namespace kelno {

namespace {

// Characters that make an Exec argument need quotes, and those escaped inside the quotes.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

// A string value's escapes: the character and the letter after the backslash. "\s" for a
// blank is read but never written.
struct StringEscape {
    char plain;
    char letter;
};
constexpr std::array<StringEscape, 5> kStringEscapes{
    {{'\\', '\\'}, {'\n', 'n'}, {'\t', 't'}, {'\r', 'r'}, {' ', 's'}}};
constexpr std::size_t kWrittenEscapes = 4;

// Applied after the quoting.
std::string EscapeStringValue(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        const auto* escape =
            std::find_if(kStringEscapes.begin(), kStringEscapes.begin() + kWrittenEscapes,
                         [c](const StringEscape& e) { return e.plain == c; });
        if (escape != kStringEscapes.begin() + kWrittenEscapes) {
            escaped += '\\';
            escaped += escape->letter;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeStringValue(std::string_view text) {
    std::string plain;
    for (std::string_view::size_type i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const char letter = text[++i];
        const auto* escape =
            std::find_if(kStringEscapes.begin(), kStringEscapes.end(),
                         [letter](const StringEscape& e) { return e.letter == letter; });
        plain += escape != kStringEscapes.end() ? escape->plain : letter;
    }
    return plain;
}

std::string_view TrimmedLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.remove_suffix(1);
    }
    while (!line.empty() && line.front() == ' ') {
        line.remove_prefix(1);
    }
    return line;
}

}  // namespace

std::string ExecArgument(std::string_view argument) {
    const bool quoted =
        argument.empty() || argument.find_first_of(kReservedInExec) != std::string_view::npos;
    std::string exec = quoted ? "\"" : "";
    for (const char c : argument) {
        if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) {
            exec += '\\';
        }
        exec += c;
        if (c == '%') {
            exec += '%';
        }
    }
    if (quoted) {
        exec += '"';
    }
    return EscapeStringValue(exec);
}

std::string DesktopEntryText(std::string_view executablePath) {
    std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Kelno\n"
        "GenericName=Circuit editor\n"
        "GenericName[ja]=電気回路エディタ\n"
        "Comment=Kelno 電気回路\n";
    text += "Exec=" + ExecArgument(executablePath) + " %f\n";
    text += "Icon=" + std::string(kIconName) + "\n";
    text += "MimeType=" + std::string(kDocumentMimeType) + ";\n";
    text +=
        "Terminal=false\n"
        "Categories=Education;Science;Electricity;\n";
    return text;
}

std::string MimePackageText() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += "  <mime-type type=\"" + std::string(kDocumentMimeType) + "\">\n";
    text += "    <comment>Kelno Document</comment>\n";
    text += "    <icon name=\"" + std::string(kIconName) + "\"/>\n";
    text +=
        "    <glob pattern=\"*.kel\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    return text;
}

std::string DesktopEntryExec(std::string_view entryText) {
    bool inEntryGroup = false;
    while (!entryText.empty()) {
        const auto end = entryText.find('\n');
        const std::string_view line = TrimmedLine(entryText.substr(0, end));
        entryText.remove_prefix(end == std::string_view::npos ? entryText.size() : end + 1);
        if (line.starts_with('[')) {
            inEntryGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (inEntryGroup && equals != std::string_view::npos &&
            TrimmedLine(line.substr(0, equals)) == "Exec") {
            return UnescapeStringValue(TrimmedLine(line.substr(equals + 1)));
        }
    }
    return {};
}

}  // namespace kelno
