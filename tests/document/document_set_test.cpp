// The open documents: slot reuse, the TEMP names of uploads and their renumbering when one
// closes, and what a save does to an upload's number. (Closing the first of three uploads is
// followed through the program's windows in the app tests.)
#include <gtest/gtest.h>

#include "image/document_set.h"

namespace talveron {
namespace {

Document Doc(const std::string& line = "1   NONE") {
    Document doc;
    doc.lines = {line};
    doc.state.chOpt = {0};
    return doc;
}

std::vector<std::string> Captions(const DocumentSet& set) {
    std::vector<std::string> captions;
    for (int n : set.OpenNumbers()) captions.push_back(set.Get(n)->caption);
    return captions;
}

TEST(DocumentSet, SlotsAreNumberedFromOneAndReused) {
    DocumentSet set;
    EXPECT_EQ(set.AddFile(Doc(), "/tmp/a.cfg"), 1);
    EXPECT_EQ(set.AddFile(Doc(), "/tmp/b.cfg"), 2);
    EXPECT_EQ(set.AddFile(Doc(), "/tmp/c.cfg"), 3);
    EXPECT_TRUE(set.Close(2));
    EXPECT_EQ(set.Get(2), nullptr);
    EXPECT_EQ(set.AddFile(Doc(), "/tmp/d.cfg"), 2);  // the first free slot
    EXPECT_EQ(set.AddFile(Doc(), "/tmp/e.cfg"), 4);
    EXPECT_EQ(set.UpperBound(), 4);
    EXPECT_EQ(set.Get(0), nullptr);
    EXPECT_EQ(set.Get(5), nullptr);
    EXPECT_EQ(set.Get(2)->caption, "/TMP/D.CFG");
    EXPECT_EQ(set.Path(2), "/tmp/d.cfg");  // the real path keeps its case
    EXPECT_FALSE(set.IsTemp(2));
    // Uploads are named TEMPn.CFG, counted, and have no path.
    const int upload = set.AddUpload(Doc());
    EXPECT_EQ(set.Get(upload)->caption, "TEMP1.CFG");
    EXPECT_EQ(set.Get(set.AddUpload(Doc()))->caption, "TEMP2.CFG");
    EXPECT_EQ(set.TempCount(), 2);
    EXPECT_TRUE(set.IsTemp(upload));
    EXPECT_TRUE(set.Path(upload).empty());
}

TEST(DocumentSet, ClosingTheLastUploadAlsoRenumbers) {
    DocumentSet set;
    set.AddUpload(Doc());
    set.AddFile(Doc(), "/tmp/x.cfg");
    set.AddUpload(Doc());
    set.AddUpload(Doc());
    EXPECT_TRUE(set.Close(4));
    EXPECT_EQ(Captions(set), (std::vector<std::string>{"TEMP2", "/TMP/X.CFG", "TEMP1"}));
    EXPECT_TRUE(set.Close(3));
    EXPECT_EQ(Captions(set), (std::vector<std::string>{"TEMP1", "/TMP/X.CFG"}));
    EXPECT_TRUE(set.Close(1));
    EXPECT_EQ(set.TempCount(), 0);
    EXPECT_FALSE(set.Close(2));  // the last one: nothing open any more
    EXPECT_FALSE(set.AnyDocumentOpen());
}

TEST(DocumentSet, AFileWhoseNameBeginsWithTempIsNotAnUpload) {
    DocumentSet set;
    set.AddUpload(Doc());
    const int file = set.AddFile(Doc(), "/home/dealer/temp7.cfg");
    set.AddUpload(Doc());
    EXPECT_TRUE(set.Close(1));
    EXPECT_EQ(set.TempCount(), 1);
    EXPECT_EQ(set.Get(file)->caption, "/HOME/DEALER/TEMP7.CFG");
    EXPECT_EQ(set.Path(file), "/home/dealer/temp7.cfg");
    EXPECT_EQ(set.Get(3)->caption, "TEMP1");
    EXPECT_TRUE(set.Close(3));  // the file is still open
    EXPECT_EQ(set.TempCount(), 0);
}

TEST(DocumentSet, SavingAnUploadGivesBackItsNumberWithoutDuplicates) {
    DocumentSet set;
    const int a = set.AddUpload(Doc());
    const int b = set.AddUpload(Doc());
    set.Get(a)->state.changed = true;
    set.MarkSaved(a, "/tmp/Radio One.cfg");
    EXPECT_FALSE(set.IsTemp(a));
    EXPECT_FALSE(set.Get(a)->state.changed);
    EXPECT_EQ(set.Get(a)->caption, "/TMP/RADIO ONE.CFG");
    EXPECT_EQ(set.Path(a), "/tmp/Radio One.cfg");
    EXPECT_EQ(set.TempCount(), 1);
    EXPECT_EQ(set.Get(b)->caption, "TEMP1");
    const int c = set.AddUpload(Doc());
    EXPECT_EQ(set.Get(c)->caption, "TEMP2.CFG");
    // Closing the saved file leaves the count alone.
    set.Close(a);
    EXPECT_EQ(set.TempCount(), 2);
}

TEST(DocumentSet, ADocumentStaysPutWhileOthersComeAndGo) {
    DocumentSet set;
    const int keep = set.AddFile(Doc("1   145.000000"), "/tmp/keep.cfg");
    Document* kept = set.Get(keep);
    for (int i = 0; i < 50; ++i) set.AddUpload(Doc());
    for (int n = 2; n <= 51; n += 2) set.Close(n);
    EXPECT_EQ(set.Get(keep), kept);
    EXPECT_EQ(kept->lines[0], "1   145.000000");
}

}  // namespace
}  // namespace talveron
