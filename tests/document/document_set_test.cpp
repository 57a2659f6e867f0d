// The open documents: slot reuse, the TEMP names of uploads and their renumbering when one
// closes, and what a save does to an upload's number (followed through the windows in the
// app tests).
#include <gtest/gtest.h>

#include "image/document_set.h"

namespace talveron {
namespace {

TEST(DocumentSet, SlotsAreReusedAndUploadsNumberedWhileTheyAreTemporary) {
    Document doc;
    doc.lines = {"1   NONE"};
    doc.state.chOpt = {0};
    const auto Doc = [&doc] { return doc; };
    const auto Captions = [](const DocumentSet& set) {
        std::vector<std::string> captions;
        for (int n : set.OpenNumbers()) captions.push_back(set.Get(n)->caption);
        return captions;
    };
    using Names = std::vector<std::string>;
    DocumentSet set;
    for (const char* name : {"/tmp/a.cfg", "/tmp/b.cfg", "/tmp/c.cfg"}) set.AddFile(Doc(), name);
    Document* kept = set.Get(1);
    EXPECT_TRUE(set.Close(2));
    EXPECT_EQ(set.Get(2), nullptr);
    EXPECT_EQ(set.AddFile(Doc(), "/tmp/d.cfg"), 2);  // the first free slot
    EXPECT_EQ(set.AddFile(Doc(), "/tmp/e.cfg"), 4);
    EXPECT_EQ(set.UpperBound(), 4);
    EXPECT_TRUE(set.Get(0) == nullptr && set.Get(5) == nullptr);
    EXPECT_EQ(set.Get(2)->caption, "/TMP/D.CFG");
    EXPECT_EQ(set.Path(2), "/tmp/d.cfg");  // the real path keeps its case
    EXPECT_FALSE(set.IsTemp(2));
    const int upload = set.AddUpload(Doc());
    EXPECT_EQ(Captions(set),
              (Names{"/TMP/A.CFG", "/TMP/D.CFG", "/TMP/C.CFG", "/TMP/E.CFG", "TEMP1.CFG"}));
    EXPECT_TRUE(set.IsTemp(upload) && set.Path(upload).empty());
    for (int i = 0; i < 50; ++i) set.AddUpload(Doc());
    for (int n = 2; n <= 51; n += 2) set.Close(n);
    EXPECT_EQ(set.Get(1), kept);

    // Closing an upload renumbers the others; a file named TEMP is no upload; saving an
    // upload gives its number back without duplicates.
    set.Reset();
    set.AddUpload(Doc());
    set.AddFile(Doc(), "/tmp/temp7.cfg");
    set.AddUpload(Doc());
    set.AddUpload(Doc());
    EXPECT_EQ(set.TempCount(), 3);
    EXPECT_TRUE(set.Close(4));
    EXPECT_EQ(Captions(set), (Names{"TEMP2", "/TMP/TEMP7.CFG", "TEMP1"}));
    EXPECT_TRUE(set.Close(3));
    EXPECT_EQ(Captions(set), (Names{"TEMP1", "/TMP/TEMP7.CFG"}));
    const int a = set.AddUpload(Doc());
    set.Get(a)->state.changed = true;
    set.MarkSaved(a, "/tmp/Radio One.cfg");
    EXPECT_FALSE(set.IsTemp(a) || set.Get(a)->state.changed);
    EXPECT_EQ(set.Path(a), "/tmp/Radio One.cfg");
    EXPECT_EQ(set.TempCount(), 1);
    set.AddUpload(Doc());
    EXPECT_EQ(Captions(set), (Names{"TEMP1", "/TMP/TEMP7.CFG", "/TMP/RADIO ONE.CFG", "TEMP2.CFG"}));
    set.Close(a);  // a saved file leaves the count alone
    EXPECT_EQ(set.TempCount(), 2);
    EXPECT_TRUE(set.Close(1) && set.Close(4));  // the file is still open
    EXPECT_EQ(set.TempCount(), 0);
    EXPECT_EQ(set.Path(2), "/tmp/temp7.cfg");
    EXPECT_FALSE(set.Close(2));  // the last one: nothing open any more
    EXPECT_FALSE(set.AnyDocumentOpen());
}

}  // namespace
}  // namespace talveron
