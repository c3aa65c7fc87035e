#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "kit/Controls.h"
#include "kit/Ports.h"
#include "kit/Window.h"

namespace selvane {

// frmSplash as a model: the picture, the disclaimer, the two answers and the advert's progress.
class SplashWindow : public Window {
public:
    // exit ends the program when the punter declines; none: only choice() records it.
    explicit SplashWindow(ExitPort* exit = nullptr);

    static constexpr const char* kPictureFile = "splash.png";
    static constexpr const char* kFont = "Tahoma";

    PictureBox picSplash;
    Label Label1{
        "The author of this software in no way guarantees any financial outcome through the use of this Velmaro "
        "Each Way Selvane."};
    Label Label2{
        "By clicking the I AGREE button, you agree to indemnify the software author against any claims "
        "whatsoever."};
    Button cmdOK{"I Agree"};
    Button cmdCancel{"I Disagree"};
    ProgressBar pgBar;

    // On while the window's load prepares the advert; "I Agree" waits for it.
    bool splashBusy = false;

    enum class Choice { Waiting, Agreed, Declined };
    Choice choice() const { return choice_; }
    // Runs once on an accepted "I Agree": the caller closes the splash and shows the main window.
    std::function<void()> onAgreed;

    void progressStart(std::int16_t count);
    void progressStep();

    std::vector<Control*> controls() override;

private:
    void agree();
    void decline();

    ExitPort* exit_;
    Choice choice_ = Choice::Waiting;
};

}  // namespace selvane
