#include "runtime/Forms.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "runtime/Application.h"
#include "runtime/Timer.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WidgetInput.h"

namespace {

// A form that counts its hooks and can close itself when shown or after a
// timer tick.
class ProbeForm : public runtime::TForm {
public:
    explicit ProbeForm(bool closeOnShow = false) : TForm(nullptr, "Probe"), timer(this, 20), closeOnShow_(closeOnShow) {
        SetClientSize(200, 100);
        timer.OnTimer = [this] {
            ++ticks;
            if (ticks == 3) {
                timer.SetEnabled(false);
                Tag = 7;
                Close();
            }
        };
    }

    int shows = 0;
    int closes = 0;
    int ticks = 0;
    runtime::TTimer timer;

protected:
    void FormShow() override {
        ++shows;
        if (closeOnShow_) {
            Tag = 1;
            Close();
        }
    }
    void FormClose() override { ++closes; }

private:
    bool closeOnShow_;
};

TEST(Forms, ShowModalEndsWhenTheFormClosesItselfWhileBeingShown) {
    ProbeForm form(true);

    int result = form.ShowModal();

    EXPECT_EQ(form.shows, 1);
    EXPECT_EQ(form.closes, 1);
    EXPECT_EQ(form.Tag, 1);
    EXPECT_EQ(result, runtime::mrCancel);
    EXPECT_FALSE(form.isVisible());
}

TEST(Forms, TimerTicksRunInsideTheModalLoopUntilDisabled) {
    ProbeForm form;
    form.timer.SetEnabled(true);

    form.ShowModal();

    EXPECT_EQ(form.ticks, 3);
    EXPECT_EQ(form.Tag, 7);
    EXPECT_FALSE(form.timer.Enabled());
    EXPECT_EQ(form.closes, 1);
}

TEST(Forms, EscapeDoesNotCloseAForm) {
    ProbeForm form;
    form.Show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &escape);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.closes, 0);
    form.Close();
}

TEST(Forms, AnExceptionInAHookIsReported) {
    class FailingForm : public runtime::TForm {
    public:
        FailingForm() : TForm(nullptr, "Failing") {}

    protected:
        void FormShow() override { throw std::runtime_error("Falha ao mostrar"); }
    };
    testsupport::MessageBoxRecorder boxes;
    FailingForm form;
    form.Show();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Falha ao mostrar."});
    form.Close();
}

// Window life cycle: a minimised window is hidden by the window system, but
// only closing it ends its modal loop, or the program for the main form.
class MinimisedForm : public runtime::TForm {
public:
    MinimisedForm() : TForm(nullptr, "Minimised"), timer(this, 20) {
        SetClientSize(200, 100);
        timer.OnTimer = [this] {
            timer.SetEnabled(false);
            minimised = testsupport::MinimiseAndRestore(*this);
            QTimer::singleShot(50, this, [this] {
                ranOnAfterRestore = true;
                Tag = 1;
                Close();
            });
        };
    }

    runtime::TTimer timer;
    bool minimised = false;
    bool ranOnAfterRestore = false;
    int shows = 0;

protected:
    void FormShow() override {
        ++shows;
        timer.SetEnabled(true);
    }
};

TEST(FormLifeCycle, MinimisingAndRestoringAModalFormKeepsItsLoop) {
    MinimisedForm form;

    form.ShowModal();

    EXPECT_TRUE(form.minimised);
    EXPECT_TRUE(form.ranOnAfterRestore);
    EXPECT_EQ(form.Tag, 1);
    EXPECT_EQ(form.shows, 1) << "restoring is no new show";
    EXPECT_FALSE(form.isVisible());
}

TEST(FormLifeCycle, MinimisingAndRestoringTheMainFormKeepsTheProgramRunning) {
    runtime::TApplication app;
    MinimisedForm form;

    app.Run(form);

    EXPECT_TRUE(form.minimised);
    EXPECT_TRUE(form.ranOnAfterRestore);
    EXPECT_FALSE(form.isVisible());
}

TEST(ApplicationRun, RunsUntilTheMainFormCloses) {
    runtime::TApplication app;
    ProbeForm form;
    form.timer.SetEnabled(true);

    app.Run(form);

    EXPECT_EQ(form.shows, 1);
    EXPECT_EQ(form.ticks, 3);
    EXPECT_FALSE(form.isVisible());
}

TEST(ApplicationRun, TerminatedBeforehandStillShowsTheMainFormOnceAndReturns) {
    runtime::TApplication app;
    app.Terminate();
    ProbeForm form;
    form.timer.SetEnabled(true);

    app.Run(form);

    EXPECT_EQ(form.shows, 1);
    EXPECT_EQ(form.ticks, 0) << "the loop must not wait for the timer";
    form.timer.SetEnabled(false);
    form.Close();
}

TEST(ApplicationRun, TerminateFromAHandlerEndsTheLoop) {
    runtime::TApplication app;
    runtime::TForm form(nullptr, "Main");
    runtime::TTimer timer(&form, 10);
    timer.OnTimer = [&] {
        timer.SetEnabled(false);
        runtime::Application().Terminate();
    };
    timer.SetEnabled(true);

    app.Run(form);

    EXPECT_TRUE(app.Terminated());
    form.Close();
}

} // namespace
