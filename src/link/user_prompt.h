// The questions the radio link asks the user. The desktop program shows message boxes, the
// command-line tool answers from its flags, tests answer from a script.
#pragma once

#include <string>

namespace talveron::link {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Yes, No, Cancel };

// What a question asks, so that whoever answers it decides by that and never by its text.
enum class Asks {
    DetectAgain,  // no port could be opened: search the ports once more?
    NoPort,       // no usable port to connect on (an OK box)
    TryAgain,     // a connection or a pass failed: try again?
    BandWarning,  // the document does not fit the radio: write it anyway?
};

struct Question {
    Asks kind = Asks::TryAgain;
    std::string text;  // may hold a line break ("\n")
    std::string title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::Ok;  // the first button of the set unless said otherwise
};

class UserPrompt {
  public:
    virtual ~UserPrompt() = default;
    virtual Answer Ask(const Question& question) = 0;
};

}  // namespace talveron::link
