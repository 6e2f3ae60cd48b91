#pragma once

// The program's user-visible messages, as UTF-8. The window layer shows them in message
// boxes; the command-line tool prints them on stderr.
namespace kelno::messages {

inline constexpr const char* kUnexpectedFileFormat = "予期しないﾌｧｲﾙ形式です。";
inline constexpr const char* kOpenFailed = "ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。";
inline constexpr const char* kSaveFailed = "ﾄﾞｷｭﾒﾝﾄを保存することに失敗しました。";
inline constexpr const char* kFileNotFound = "ﾌｧｲﾙが見つかりません。";
inline constexpr const char* kCannotReadFile = "ﾌｧｲﾙを読み込めませんでした。";
inline constexpr const char* kCannotWriteFile = "ﾌｧｲﾙに書き込めませんでした。";
// Added when a file that could only be overwritten in place failed part way.
inline constexpr const char* kFileMayBeDamaged =
    "書き込みの途中で失敗したため、ﾌｧｲﾙの内容が壊れている可能性があります。";

// The question asked before a file of a newer format is opened; "%g" is the version / 100.
inline constexpr const char* kNewerVersionQuestion =
    "Please update Kelno\n I don't know this version(%g).\nDo you OPEN anyway?";

}  // namespace kelno::messages
