// The open documents, step by step from tests/data/core/document_set.txt: slot reuse, the
// TEMP names of uploads and their renumbering when one closes, what a save does to an
// upload's number; a document stays where it is while others come and go.
#include <gtest/gtest.h>

#include <map>

#include "image/document_set.h"
#include "test_support.h"

namespace talveron {
namespace {

TEST(DocumentSet, FollowsItsTable) {
    Document doc;
    doc.lines = {"1   NONE"};
    doc.state.chOpt = {0};
    DocumentSet set;
    std::map<int, const Document*> placed;
    for (const auto& c : test::LoadCases("core/document_set.txt")) {
        SCOPED_TRACE(c.where);
        ASSERT_EQ(c.f.size(), 5u);
        const int n = c.Int(1);
        const std::string& op = c[0];
        std::string result;
        if (op == "file" || op == "upload") {
            const int added = op == "file" ? set.AddFile(doc, c[2]) : set.AddUpload(doc);
            placed[added] = set.Get(added);
            result = std::to_string(added);
        } else if (op == "save") {
            set.Get(n)->state.changed = true;
            set.MarkSaved(n, c[2]);
            result = std::to_string(set.Get(n)->state.changed);
        } else {
            const std::map<std::string, std::function<std::string()>> ask{
                {"close", [&] { return std::to_string(set.Close(n)); }},
                {"path", [&] { return set.Path(n); }},
                {"temp", [&] { return std::to_string(set.IsTemp(n)); }},
                {"get", [&] { return set.Get(n) ? set.Get(n)->caption : "none"; }},
                {"bound", [&] { return std::to_string(set.UpperBound()); }}};
            ASSERT_TRUE(ask.count(op));
            result = ask.at(op)();
        }
        EXPECT_EQ(result, c[3]);
        std::string open;
        for (int m : set.OpenNumbers()) {
            open += set.Get(m)->caption + ";";
            EXPECT_EQ(set.Get(m), placed[m]) << m;
        }
        EXPECT_EQ(open + std::to_string(set.TempCount()), c[4]);
    }
    EXPECT_FALSE(set.AnyDocumentOpen());
}

}  // namespace
}  // namespace talveron
