#include "text/comment_text.h"

#include <gtest/gtest.h>

#include "text/code_page_932.h"

namespace kelno {
namespace {

TEST(CommentText, LineBreaksBecomeNewlinesForEditingAndCrLfForTheDocument) {
    EXPECT_EQ(CommentForEditing(Utf8ToCp932("一行目\r\n二行目\r三行目\n")),
              u"一行目\n二行目\n三行目\n");
    EXPECT_EQ(CommentFromEditing(u"一行目\n二行目\r\n"), Utf8ToCp932("一行目\r\n二行目\r\n"));
}

TEST(CommentText, TextWithCrLfLineBreaksSurvivesTheWayThroughAnEditBox) {
    for (const char* utf8 : {"", "電池と電球", "ﾊﾝｶｸ ｶﾅ\r\nand ASCII\r\n\r\n", "①②\r\n"}) {
        const std::string bytes = Utf8ToCp932(utf8);
        EXPECT_EQ(CommentFromEditing(CommentForEditing(bytes)), bytes) << utf8;
    }
}

TEST(CommentText, CharactersOutsideCodePage932BecomeQuestionMarks) {
    EXPECT_EQ(CommentFromEditing(u"a\u00E9b"), "a?b");
}

}  // namespace
}  // namespace kelno
