#include "io/system_error_text.h"

#include <cerrno>
#include <cstring>

namespace kelno {

namespace {

const char* KnownReason(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return "ｱｸｾｽする権限がありません。";
        case EROFS:
            return "読み取り専用の場所です。";
        case ENOSPC:
            return "ﾃﾞｨｽｸの空き容量が足りません。";
#ifdef EDQUOT
        case EDQUOT:
            return "ﾃﾞｨｽｸの使用量の制限を超えています。";
#endif
        case EFBIG:
            return "ﾌｧｲﾙが大きすぎます。";
        case ENOENT:
            return "ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。";
        case ENOTDIR:
            return "ﾊﾟｽの途中にﾌｫﾙﾀﾞでないものがあります。";
        case EISDIR:
            return "同じ名前のﾌｫﾙﾀﾞがあります。";
        case ENAMETOOLONG:
            return "ﾌｧｲﾙ名が長すぎます。";
        case ELOOP:
            return "ｼﾝﾎﾞﾘｯｸﾘﾝｸをたどりきれません。";
        case EIO:
            return "ﾃﾞｨｽｸの読み書きでｴﾗｰが起きました。";
        case EBUSY:
        case ETXTBSY:
            return "ﾌｧｲﾙが使用中です。";
        case EMFILE:
        case ENFILE:
            return "開いているﾌｧｲﾙが多すぎます。";
        case ENOMEM:
            return "ﾒﾓﾘが足りません。";
        default:
            return nullptr;
    }
}

}  // namespace

std::string SystemErrorText(int errorNumber) {
    if (const char* reason = KnownReason(errorNumber)) {
        return reason;
    }
    return "ｼｽﾃﾑのｴﾗｰ " + std::to_string(errorNumber) + ": " + std::strerror(errorNumber);
}

}  // namespace kelno
