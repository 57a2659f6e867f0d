// The document window over a recording host: its labels and lines in columns that line up
// under the header font fitted to the window, an edit redrawn with every selection kept, the
// menus (captions, shortcuts and states from tests/data/desktop/notepad_menus.txt),
// activation's verdict, the Paste rule, the transfer lock, opening a channel, and closing.
// Its commands reach the program in the app and channel tests.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QtWidgets>
#include <map>

#include "document/document_host.h"
#include "document/frm_notepad.h"
#include "document/header_fit.h"
#include "image/cfg_file.h"
#include "qt_test_util.h"

namespace talveron::document {
namespace {

using namespace Qt::Literals::StringLiterals;

struct RecordingHost : DocumentHost {
    std::map<int, Document> docs;
    std::vector<std::string> clip, calls;  // "channel<n>:<row>", "query<n>", "status:<text>"
    std::vector<RangeVerdict> verdicts;
    bool allowClose = true, transfer = false;

    Document* DocumentOf(int n) override { return docs.count(n) ? &docs[n] : nullptr; }
    void Command(int n, DocCommand c, int row) override {
        if (c == DocCommand::Channel)
            Call("channel" + std::to_string(n) + ":" + std::to_string(row));
    }
    DocChanges EditDocument(int n, std::string_view label,
                            const std::function<void(Document&)>& edit) override {
        return talveron::EditDocument(docs[n], label, edit);
    }
    bool QueryClose(int n) override { return Call("query" + std::to_string(n)), allowClose; }
    void ShowStatus(const QString& text) override { Call("status:" + text.toStdString()); }
    void ShowVerdict(const RangeVerdict& v) override { verdicts.push_back(v); }
    const std::vector<std::string>& ClipLines() const override { return clip; }
    bool TransferRunning() const override { return transfer; }
    void Call(const std::string& call) { calls.push_back(call); }
};

std::vector<std::string> Lines(const frmNotePad& window) {
    std::vector<std::string> lines;
    for (int i = 0; i < window.List()->model()->rowCount(); ++i)
        lines.push_back(window.List()->model()->index(i, 0).data().toString().toStdString());
    return lines;
}

// The header font fitting, from tests/data/desktop/header_fit.txt.
TEST(HeaderFit, GrowsByRisingStepsThenShrinksByFallingSteps) {
    for (const auto& c : test::LoadCases("desktop/header_fit.txt")) {
        SCOPED_TRACE(c.where);
        ASSERT_EQ(c.f.size(), 7u);
        std::string asked;
        const auto width = [&](int s) {
            asked += (asked.empty() ? "" : " ") + std::to_string(s);
            return s <= c.Int(3) ? c.Int(1) * s + c.Int(2) : c.Int(4);
        };
        EXPECT_EQ(FitHeaderFontSize(9, c.Int(0), width), c.Int(5));
        EXPECT_EQ(asked, c[6]);
    }
    const int size = FitHeaderFontSize(
        9, 500, [](int) { return 0; }, 60);  // an empty header
    EXPECT_TRUE(size <= 60 && size >= 50) << size;
}

TEST(NotePad, ShowsLaysOutAndRedrawsTheDocumentWithItsMenusVerdictsAndCommands) {
    RecordingHost host;
    Document& doc = host.docs[3];
    const CfgReadResult read = ReadCfgFile(TALVERON_SAMPLES "/vk-a1-16ch.cfg");
    ASSERT_TRUE(read.ok()) << read.message;
    doc = OpenDocument(read.image, read.modelCode, "vk-a1-16ch.cfg");
    doc.customer = "ACME Taxi: north";
    doc.serial = "SN-0042";
    frmNotePad window(&host, 3);
    // The menus in order with their captions, shortcuts and states.
    std::vector<std::vector<std::string>> shown;
    const auto entry = [&](const QString& menu, const QAction* a) {
        shown.emplace_back();
        for (const QString& field :
             {menu, a->objectName(), a->text(), QKeySequence::listToString(a->shortcuts()),
              QString::number(a->isVisible()), QString::number(a->isEnabled())})
            shown.back().push_back(field.toStdString());
    };
    for (QMenu* m : window.Menus()) {
        entry(u"-"_s, m->menuAction());
        for (QAction* a : m->actions()) entry(m->menuAction()->objectName(), a);
    }
    const auto rows = test::LoadCases("desktop/notepad_menus.txt");
    ASSERT_EQ(shown.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i][5] == "*") shown[i][5] = "*";  // not looked at
        EXPECT_EQ(shown[i], rows[i].f) << rows[i].where;
    }

    EXPECT_EQ(testing::WrongTexts(window, u"notepad"_s), "");
    ASSERT_EQ(Lines(window), doc.lines);
    EXPECT_EQ(window.List()->selectionMode(), QAbstractItemView::ExtendedSelection);

    window.Layout(900, 600);
    const QFont font = window.List()->font();
    EXPECT_TRUE(QFontInfo(font).fixedPitch());
    const QFontMetricsF fm(font);
    const QString header = window.Label3(12)->text();
    for (int column : {4, 16, 22, 29, 41, 47})
        for (const std::string& text : Lines(window))
            EXPECT_NEAR(fm.horizontalAdvance(QString::fromStdString(text).left(column)),
                        fm.horizontalAdvance(header.left(column)), 0.5);
    // Grown from the starting size until it nearly fills the window, never past it; the list
    // shows whole lines.
    const int headerWidth = QFontMetrics(font).horizontalAdvance(header);
    EXPECT_TRUE(headerWidth < 900 && window.FontPointSize() > 10);
    EXPECT_EQ(window.Label3(12)->font().pointSize(), window.FontPointSize());
    EXPECT_GE(window.List()->width(), headerWidth);
    EXPECT_GE(window.width(), window.List()->geometry().right());

    // An edit redraws its lines in one run; every selected line and the current line stay, and
    // Undo and Redo are enabled exactly when there is a step to take.
    QAction* undo = window.Action(u"mnuEUndo"_s);
    QAction* redo = window.Action(u"mnuERedo"_s);
    QItemSelectionModel* selection = window.List()->selectionModel();
    for (int row : {2, 5, 9})
        selection->select(window.List()->model()->index(row, 0), QItemSelectionModel::Select);
    selection->setCurrentIndex(window.List()->model()->index(5, 0), QItemSelectionModel::NoUpdate);
    const std::vector<std::string> before = doc.lines;
    const DocChanges changes = host.EditDocument(
        3, "two lines", [](Document& d) { d.lines[5] = d.lines[6] = d.lines[0]; });
    QSignalSpy redrawn(window.List()->model(), &QAbstractItemModel::dataChanged);
    window.ShowChanges(changes);
    ASSERT_EQ(redrawn.size(), 1);
    EXPECT_EQ(std::pair(redrawn[0][0].toModelIndex().row(), redrawn[0][1].toModelIndex().row()),
              std::pair(5, 6));
    EXPECT_EQ(Lines(window), doc.lines);
    EXPECT_EQ(selection->selectedRows().size(), 3);
    EXPECT_EQ(window.CurrentRow(), 5);
    EXPECT_TRUE(undo->isEnabled() && !redo->isEnabled());
    window.ShowChanges(UndoEdit(doc));
    EXPECT_EQ(Lines(window), before);
    EXPECT_TRUE(!undo->isEnabled() && redo->isEnabled());
    EXPECT_EQ(selection->selectedRows().size(), 3);
    // Activation takes the band from the Range label and checks the lines.
    const auto band = [&] {
        const ActiveValues v = window.Activate();
        return std::tuple(v.blockCount, v.band.low, v.band.high);
    };
    EXPECT_EQ(band(), std::tuple(16, 140, 175));
    ASSERT_EQ(host.verdicts.size(), 1u);
    EXPECT_EQ(host.verdicts[0].text, "ALL Channels In Range");
    EXPECT_EQ(host.verdicts[0].Color(), StatusColor::Black);
    doc.lines[2].replace(4, 3, "176");
    window.Refresh();
    window.Activate();
    EXPECT_EQ(host.verdicts.back().text, "Channel #3 Range Out !");
    EXPECT_EQ(host.verdicts.back().Color(), StatusColor::Red);
    window.Label3(9)->setText(u"Range:170-180MHz"_s);
    EXPECT_EQ(band(), std::tuple(16, 170, 180));

    // Opening the Edit menu enables Paste exactly while the clipboard holds lines; activation
    // only ever enables it.
    QAction* paste = window.Action(u"mnuEPaste"_s);
    for (bool holds : {true, false, true}) {
        host.clip.assign(holds ? 1 : 0, doc.lines[0]);
        emit window.Menus()[1]->aboutToShow();
        EXPECT_EQ(paste->isEnabled(), holds);
    }
    host.clip.clear();
    window.Activate();
    EXPECT_TRUE(paste->isEnabled());
    for (bool locked : {true, false}) {
        window.SetTransferLock(locked);
        for (const char* name : {"mnuFile", "mnuEdit", "mnuOpion", "mnuRadio", "munHelp"})
            EXPECT_EQ(window.Action(QString::fromLatin1(name))->isEnabled(), !locked) << name;
        EXPECT_EQ(window.List()->isEnabled(), !locked);
    }

    // Enter asks for the channel dialog of the current line, an empty list asks for nothing;
    // closing asks the host once.
    window.show();
    window.List()->setCurrentIndex(window.List()->model()->index(4, 0));
    QTest::keyClick(window.List(), Qt::Key_Return);
    host.docs[4] = Document();
    frmNotePad empty(&host, 4);
    QTest::keyClick(empty.List(), Qt::Key_Enter);
    host.allowClose = false;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    host.allowClose = true;
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.close());  // already released: not asked again
    // The layout cleared the status line first.
    EXPECT_EQ(host.calls, (std::vector<std::string>{"status: ", "channel3:4", "query3", "query3"}));
}

}  // namespace
}  // namespace talveron::document
