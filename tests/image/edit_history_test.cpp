// A document's edit history: a step per change, what each step changed, undo and redo, the
// saved point that makes the document unchanged again, the redo branch a new edit drops, and
// the depth kept.
#include <gtest/gtest.h>

#include "image/channel_line.h"
#include "image/document.h"
#include "image/document_set.h"

namespace talveron {
namespace {

Document Doc() {
    Document doc;
    for (int i = 0; i < 4; ++i) doc.lines.push_back("line " + std::to_string(i));
    doc.state.chOpt.assign(4, 0xC0);
    return doc;
}

TEST(EditHistory, StepsUndoRedoAndTheSavedPoint) {
    DocumentSet set;
    const int n = set.AddFile(Doc(), "/tmp/a.cfg");
    Document& doc = *set.Get(n);
    const Document opened = doc;

    // An OK that changes nothing marks the document changed but is no step.
    DocChanges c = EditDocument(doc, "Channel 1", [](Document&) {});
    EXPECT_FALSE(c.Any());
    EXPECT_TRUE(doc.state.changed);
    EXPECT_FALSE(CanUndo(doc));

    c = EditDocument(doc, "Channel 3", [](Document& d) { d.lines[2] = "new"; });
    EXPECT_EQ(c.lines, std::vector<int>{2});
    EXPECT_FALSE(c.options || c.customer || c.head || c.lineCount);
    c = EditDocument(doc, "Channel 3 Option", [](Document& d) { d.state.chOpt[2] = 0xC2; });
    EXPECT_TRUE(c.options);
    EXPECT_TRUE(c.lines.empty());
    EXPECT_EQ(doc.history.UndoLabel(), "Channel 3 Option");

    // Undoing both comes back to the content opened, which counts as unchanged.
    EXPECT_TRUE(UndoEdit(doc).options);
    EXPECT_TRUE(doc.state.changed);
    EXPECT_EQ(UndoEdit(doc).lines, std::vector<int>{2});
    EXPECT_FALSE(doc.state.changed);
    EXPECT_EQ(doc.lines, opened.lines);
    EXPECT_EQ(doc.state.chOpt, opened.state.chOpt);
    EXPECT_FALSE(UndoEdit(doc).Any());
    EXPECT_EQ(doc.history.RedoLabel(), "Channel 3");

    // Saved after one redo: that is the unchanged state now.
    RedoEdit(doc);
    set.MarkSaved(n, "/tmp/a.cfg");
    UndoEdit(doc);
    EXPECT_TRUE(doc.state.changed);
    RedoEdit(doc);
    EXPECT_FALSE(doc.state.changed);
    EXPECT_TRUE(CanRedo(doc));

    // A new edit after an undo drops the redo branch, and the saved point that lay in it.
    UndoEdit(doc);
    c = EditDocument(doc, "Customer", [](Document& d) { d.customer = "ACME"; });
    EXPECT_TRUE(c.customer);
    EXPECT_FALSE(CanRedo(doc));
    UndoEdit(doc);
    EXPECT_TRUE(doc.state.changed);  // the file holds "new" in line 3, the document does not
    RedoEdit(doc);
    EXPECT_TRUE(doc.state.changed);  // nor a customer
}

TEST(EditHistory, KeepsItsDepthOfSteps) {
    Document doc = Doc();
    const std::size_t edits = EditHistory::kDepth + 10;
    for (std::size_t i = 0; i < edits; ++i)
        EditDocument(doc, "x", [i](Document& d) { d.lines[0] = std::to_string(i); });
    std::size_t undone = 0;
    while (UndoEdit(doc).Any()) ++undone;
    EXPECT_EQ(undone, EditHistory::kDepth);
    EXPECT_EQ(doc.lines[0], "9");  // the ten oldest steps are gone
    EXPECT_TRUE(doc.state.changed);
}

// An empty channel stored with the byte 0x7F that an edit fills keeps no options of it and
// is saved in use (0xFF, which reads back empty, would lose the edit).
TEST(EditHistory, ALineAnEditPutsInUseStartsWithNoOptions) {
    Document doc;  // IF -21.4 MHz, prescaler 128
    doc.lines = {"1   NONE        000=  None   NONE        000=  None   "};
    doc.state.chOpt = {0x7F};
    const std::string line = "1   150.005000  001=  67.0   150.006250  051=  023    ";
    EditDocument(doc, "Channel 1", [&](Document& d) { d.lines[0] = line; });
    EXPECT_EQ(doc.state.chOpt[0], 0x00);
    const EepromImage image = BuildImage(doc);
    EXPECT_EQ(image[kHeadSize], 0xC0);
    EXPECT_EQ(ImageToList(image).lines[0], line);
    // An option set afterwards on the line is kept, as in the worked record (0x04 gives 0xC4).
    EditDocument(doc, "Channel 1 Option", [](Document& d) { d.state.chOpt[0] = 0x04; });
    EXPECT_EQ(BuildImage(doc)[kHeadSize], 0xC4);
}

}  // namespace
}  // namespace talveron
