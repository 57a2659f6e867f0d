#include "image/print_layout.h"

#include "image/cfg_file.h"
#include "image/channel_line.h"
#include "image/document.h"

namespace talveron {

namespace {

using S = SysSetting;

// The printer's pen: a current position that moves as text is printed, as on the paper.
class Pen {
  public:
    Pen(PrintLayout& out, const PrintMetrics& m) : out_(out), m_(m) {}

    // Moves to x on the current line; where the text already printed on the line reaches
    // past x (a long label on narrow paper), one blank after it instead, so texts never
    // print over each other.
    void At(int x) { x_ = x_ > x && lineUsed_ ? x_ + m_.width(" ") : x; }
    // Prints at the current position; the position moves to the end of the text.
    void Text(std::string_view text) {
        out_.texts.push_back({page_, x_, y_, std::string(text)});
        x_ += m_.width(text);
        lineUsed_ = true;
    }
    void EndLine() {
        x_ = 0;
        lineUsed_ = false;
        y_ += m_.lineHeight;
    }
    void Rule() {
        out_.rules.push_back({page_, 0, out_.lineWidth, y_, kPrintRuleWidth});
        EndLine();
    }
    void NewPage() {
        ++page_;
        x_ = 0;
        y_ = 0;
    }
    void Top() {
        y_ = 0;
        x_ = 0;
        lineUsed_ = false;
    }
    int Y() const { return y_; }
    int Page() const { return page_; }

  private:
    PrintLayout& out_;
    const PrintMetrics& m_;
    int page_ = 1;
    int x_ = 0;
    int y_ = 0;
    bool lineUsed_ = false;
};

}  // namespace

ChannelPlan PlanOf(const Document& doc, std::string date, std::string time) {
    ChannelPlan plan;
    plan.fileName = FileBaseName(doc.caption);
    plan.modelLabel = "Model:" + doc.ModelName();
    plan.rangeLabel = "Range:" + doc.Band() + "MHz";
    plan.customerLabel = "Customer:" + doc.customer;
    plan.serialLabel = "Serial No:" + doc.serial;
    plan.date = std::move(date);
    plan.time = std::move(time);
    plan.system = ReadSystemOptions(doc.state.head);
    plan.channelCount = doc.BlockCount();
    plan.lines = doc.lines;
    plan.chOpt = doc.state.chOpt;
    return plan;
}

PrintLayout LayoutChannelPlan(const ChannelPlan& plan, const PrintMetrics& m) {
    PrintLayout out;
    out.originX = m.margin;
    out.lineWidth = m.pageWidth - 4 * m.margin;
    const int w = out.lineWidth;
    Pen pen(out, m);
    const std::string header(kColumnHeader);
    const std::string title(kOptionTitle.substr(2));

    auto printHead = [&] {
        pen.Top();
        pen.At((w - m.width(plan.fileName)) / 2);
        pen.Text(plan.fileName);
        // Ends at the end of the line, whatever the number of digits.
        const std::string page = "Page :" + std::to_string(pen.Page());
        pen.At(w - m.width(page));
        pen.Text(page);
        pen.EndLine();
    };
    auto columns = [&](const std::string& a, const std::string& b, const std::string& c) {
        pen.At(0);
        pen.Text(a);
        pen.At(w / 3);
        pen.Text(b);
        pen.At(2 * w / 3);
        pen.Text(c);
        pen.EndLine();
    };

    printHead();
    pen.EndLine();
    columns(plan.modelLabel, plan.customerLabel, plan.serialLabel);
    columns(plan.rangeLabel, "Date :" + plan.date, "Time :" + plan.time);
    pen.Rule();

    // The system options in the words of their dialog; a 99-channel radio has no scan attack
    // timer, so its dialog shows "OFF" there.
    SystemOptions system = plan.system;
    if (HiddenForChannels(S::ScanAttack, plan.channelCount)) system[S::ScanAttack] = 0;
    for (int row = 0; row < 2; ++row) {
        for (int k = 0; k < 3; ++k) {
            const auto setting = static_cast<S>(row * 3 + k);
            pen.At(w * k / 3);
            pen.Text(std::string(SettingInfo(setting).label) + ":" +
                     ValueText(setting, system[setting]));
        }
        pen.EndLine();
    }
    pen.At(0);
    pen.Text(system[S::Beep] ? "BEEP: ON " : "BEEP: OFF");
    pen.At(w / 3);
    pen.Text(system[S::ReverseBurst] ? "Reverse Burst Tone: ON " : "Reverse Burst Tone: OFF");
    pen.EndLine();
    pen.Rule();

    pen.Text(header);
    pen.At(m.width("  " + header) - m.width(" "));
    pen.Text(title);
    pen.EndLine();

    for (std::size_t i = 0; i < plan.lines.size(); ++i) {
        if (!LineInUse(plan.lines[i])) continue;
        pen.At(m.width(" "));
        pen.Text(plan.lines[i]);
        pen.At(m.width("  " + header));
        pen.Text(OptionText(i < plan.chOpt.size() ? plan.chOpt[i] : 0));
        pen.EndLine();
        if (pen.Y() >= kPrintPageLimitTwips) {
            pen.NewPage();
            printHead();
            pen.EndLine();
            pen.Rule();
            pen.EndLine();
            pen.Text(header);
            pen.Text(" " + title);
            pen.EndLine();
        }
    }
    out.pages = pen.Page();
    return out;
}

PrintLayout LayoutReadMe(const std::vector<std::string>& lines, const PrintMetrics& m) {
    PrintLayout out;
    out.lineWidth = m.pageWidth - 4 * m.margin;
    const int right = out.lineWidth;
    Pen pen(out, m);
    auto head = [&] {
        pen.Top();
        pen.At((right - m.width("ReadMe")) / 2);
        pen.Text("ReadMe");
        const std::string page = "Page :" + std::to_string(pen.Page());
        pen.At(right - m.width(page));
        pen.Text(page);
        pen.EndLine();
        pen.EndLine();
    };
    head();
    for (const std::string& line : lines) {
        pen.Text(line);
        pen.EndLine();
        if (pen.Y() >= kPrintPageLimitTwips) {
            pen.NewPage();
            head();
        }
    }
    out.pages = pen.Page();
    return out;
}

}  // namespace talveron
