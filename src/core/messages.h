#pragma once

// The program's user-visible messages, as UTF-8. The window layer shows them in message
// boxes; the command-line tool prints them on stderr.
namespace kelno::messages {

inline constexpr const char* kUnexpectedFileFormat = "予期しないﾌｧｲﾙ形式です。";
inline constexpr const char* kOpenFailed = "ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。";
inline constexpr const char* kSaveFailed = "ﾄﾞｷｭﾒﾝﾄを保存することに失敗しました。";
// The details dialog refuses a resistance below zero for everything but a switch.
inline constexpr const char* kNumberRequired = "数字を入力してください。";
inline constexpr const char* kResistanceNotNegative = "抵抗には 0 以上の数字を入力してください。";
inline constexpr const char* kFileNotFound = "ﾌｧｲﾙが見つかりません。";
inline constexpr const char* kCannotReadFile = "ﾌｧｲﾙを読み込めませんでした。";
inline constexpr const char* kCannotWriteFile = "ﾌｧｲﾙに書き込めませんでした。";
// Added when a file is larger than the program reads.
inline constexpr const char* kReadLimit = "読み込めるのは 16 MB までのﾌｧｲﾙです。";
// A path that names a pipe, a device, a socket or a folder instead of a file.
inline constexpr const char* kNotRegularFile =
    "通常のﾌｧｲﾙではない (ﾊﾟｲﾌﾟやﾃﾞﾊﾞｲｽなど) ため、読み書きできません。";
// A save through a symbolic link that another user put into a shared folder like /tmp.
inline constexpr const char* kForeignLinkInSharedFolder =
    "共有ﾌｫﾙﾀﾞにある他のﾕｰｻﾞｰのｼﾝﾎﾞﾘｯｸﾘﾝｸを通しては保存できません。";
// The settings file is something else than a file: the program runs on its defaults.
inline constexpr const char* kSettingsNotRegularFile =
    "設定ﾌｧｲﾙが通常のﾌｧｲﾙではないため、設定を読み込まず、保存もしません。";
// Added when a file that could only be overwritten in place failed part way.
inline constexpr const char* kFileMayBeDamaged =
    "書き込みの途中で失敗したため、ﾌｧｲﾙの内容が壊れている可能性があります。";

// An in-place save that could not first keep a copy of the old content, and did nothing.
inline constexpr const char* kCannotKeepOldContent =
    "元の内容の控えを作れないため、上書きしませんでした。";
// An in-place save that failed part way: the old content can be restored.
inline constexpr const char* kOldContentKept =
    "元の内容は控えてあり、次にこのﾌｧｲﾙを開くときに元に戻せます。";
// Asked when a file is opened whose last save was cut short; "%s" is the file.
inline constexpr const char* kRestoreQuestion =
    "このﾌｧｲﾙの前回の保存は途中で終わっています。\n%s\n保存前の内容に戻しますか?";

// The question asked before a file of a newer format is opened; "%g" is the version / 100.
inline constexpr const char* kNewerVersionQuestion =
    "Please update Kelno\n I don't know this version(%g).\nDo you OPEN anyway?";

// The results of "Unregister": everything removed, or some of it left behind.
inline constexpr const char* kUnregistered =
    "ｼｽﾃﾑ ﾚｼﾞｽﾄﾘ ｴﾝﾄﾘは削除されています。また、INI ﾌｧｲﾙがある場合は、INI ﾌｧｲﾙも削除されました。";
inline constexpr const char* kUnregisterIncomplete =
    "一部のｼｽﾃﾑ ﾚｼﾞｽﾄﾘ ｴﾝﾄﾘ (または INI ﾌｧｲﾙ) は削除されませんでした。";

// Wrong use of the editor's command line; the usage follows the reason.
inline constexpr const char* kStartupUnknownSwitch = "不明なｵﾌﾟｼｮﾝです: ";
inline constexpr const char* kStartupPrintNeedsFile = "印刷するﾌｧｲﾙが指定されていません。";
inline constexpr const char* kStartupPrintNeedsPrinter = "ﾌﾟﾘﾝﾀ名が指定されていません。";
inline constexpr const char* kStartupTooManyFiles = "ﾌｧｲﾙは 1 つだけ指定してください。";
inline constexpr const char* kStartupUsage =
    "使い方:\n"
    "kelno [--predict] [ﾌｧｲﾙ]\n"
    "kelno /p ﾌｧｲﾙ\n"
    "kelno /pt ﾌｧｲﾙ ﾌﾟﾘﾝﾀ\n"
    "kelno /Unregister";

}  // namespace kelno::messages
