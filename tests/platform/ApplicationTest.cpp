// TApplication: the title rule, the event loop, and errors escaping handlers.
#include "TestDoubles.h"

#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/Font.h"
#include "platform/Timer.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFile>
#include <QRawFont>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <utility>

using namespace vandora;
using vandora::test::ScopedService;
using vandora::test::TRecordingMessageBox;

namespace {

const QEvent::Type kThrowStd = QEvent::Type(QEvent::User + 1);
const QEvent::Type kThrowFramework = QEvent::Type(QEvent::User + 2);
const QEvent::Type kThrowOther = QEvent::Type(QEvent::User + 3);
const QEvent::Type kCount = QEvent::Type(QEvent::User + 4);

class TThrower : public QObject {
public:
    int counted = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == kThrowStd)
            throw std::runtime_error("Something went wrong");
        if (e->type() == kThrowFramework)
            throw EListError(ListIndexErrorText(5));
        if (e->type() == kThrowOther)
            throw 42;
        if (e->type() == kCount) {
            ++counted;
            return true;
        }
        return QObject::event(e);
    }
};

// A window that refuses the first close request.
// Runs the event loop inside its close handler, as a message box opened there does.
class TAskingWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* e) override
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        e->accept();
    }
};

class TStubbornWindow : public QWidget {
public:
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (++closeRequests == 1)
            e->ignore();
        else
            e->accept();
    }
};

} // namespace

TEST(ApplicationTitleTest, FolderDroppedCutAtTheFirstFullStopRestLowerCase)
{
    EXPECT_EQ(TApplication::TitleFromFileName("C:\\Games\\VANDORA.EXE"), "Vandora");
    EXPECT_EQ(TApplication::TitleFromFileName("/usr/bin/vandora"), "Vandora");
    EXPECT_EQ(TApplication::TitleFromFileName("my.quiz.exe"), "My");
    EXPECT_EQ(TApplication::TitleFromFileName("Vandora.exe"), "Vandora");
    EXPECT_EQ(TApplication::TitleFromFileName("D:\\x.y\\GeoQuiz.bin"), "Geoquiz");    // dot in a folder
    EXPECT_EQ(TApplication::TitleFromFileName("/opt/a.b/c\\MIXED/Europe.Quiz"), "Europe"); // last of \ and /
    EXPECT_EQ(TApplication::TitleFromFileName("quiz"), "Quiz");
    EXPECT_EQ(TApplication::TitleFromFileName("Q"), "Q");
    EXPECT_EQ(TApplication::TitleFromFileName(".hidden"), "");
    EXPECT_EQ(TApplication::TitleFromFileName("C:\\folder\\"), "");
    EXPECT_EQ(TApplication::TitleFromFileName(""), "");
    EXPECT_EQ(TApplication::TitleFromFileName("/tmp/ÉCOLE.exe"), "École");
    // A first character outside the basic plane is one character too (Deseret, in UTF-16 a pair).
    EXPECT_EQ(TApplication::TitleFromFileName("\U00010428\U00010400.exe"), "\U00010400\U00010428");
}

// The window font's faces are the files' own, so that text keeps its designed widths: the
// bold one is not the regular face made heavier.
TEST(ApplicationFontTest, TahomaRegularAndBoldAreTheMetricCompatibleFaces)
{
    const QString text = QStringLiteral("Start new quiz");
    const auto width = [&text](const QRawFont& face) {
        qreal sum = 0;
        for (const QPointF& advance : face.advancesForGlyphIndexes(face.glyphIndexesForString(text)))
            sum += advance.x();
        return sum;
    };
    for (const auto& [style, file] : {std::pair{TFontStyles(0), "tahoma.ttf"}, std::pair{TFontStyles(fsBold), "tahomabd.ttf"}}) {
        const QString path = QStringLiteral("/usr/share/wine/fonts/") + QLatin1String(file);
        if (!QFile::exists(path))
            GTEST_SKIP() << "fonts-wine is not installed";
        TFont font;
        font.SetStyle(style);
        const QRawFont used = QRawFont::fromFont(font.ToQFont());
        const QRawFont expected(path, 11);
        ASSERT_TRUE(used.isValid() && expected.isValid()) << file;
        EXPECT_EQ(used.familyName().toStdString(), expected.familyName().toStdString()) << file;
        EXPECT_EQ(used.styleName().toStdString(), expected.styleName().toStdString()) << file;
        EXPECT_DOUBLE_EQ(width(used), width(expected)) << file;
    }
}

TEST(ApplicationTest, TheTestProgramRunsUnderTheApplicationObject)
{
    TApplication* app = Application();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->Title(), "Tests_platform");
    EXPECT_EQ(ApplicationTitle(), app->Title());
}

TEST(ApplicationTest, MessagesAreCaptionedWithTheTitle)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, &boxes);
    const std::string title = Application()->Title();
    Application()->SetTitle("Vandora");
    ShowMessage("Correct country selected!");
    Application()->SetTitle(title);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Vandora");
    EXPECT_EQ(boxes.boxes[0].text, "Correct country selected!");
    EXPECT_FALSE(boxes.boxes[0].error);
}

TEST(ApplicationTest, AnErrorEscapingAHandlerReachesTheErrorBoxAndEventsGoOn)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, &boxes);
    TThrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(kThrowFramework));
    QCoreApplication::postEvent(&thrower, new QEvent(kCount));
    QCoreApplication::postEvent(&thrower, new QEvent(kThrowStd));
    QCoreApplication::postEvent(&thrower, new QEvent(kCount));
    QCoreApplication::postEvent(&thrower, new QEvent(kThrowOther));
    QCoreApplication::postEvent(&thrower, new QEvent(kCount));
    QCoreApplication::sendPostedEvents(&thrower);

    EXPECT_EQ(thrower.counted, 3);
    ASSERT_EQ(boxes.boxes.size(), 3u);
    for (const auto& box : boxes.boxes) {
        EXPECT_TRUE(box.error);
        EXPECT_EQ(box.caption, Application()->Title());
    }
    EXPECT_EQ(boxes.boxes[0].text, "List index out of bounds (5)");
    EXPECT_EQ(boxes.boxes[1].text, "Something went wrong");
    EXPECT_FALSE(boxes.boxes[2].text.empty());
}

TEST(ApplicationTest, SentEventsAreCaughtToo)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, &boxes);
    TThrower thrower;
    QEvent event(kThrowStd);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
    ASSERT_EQ(boxes.boxes.size(), 1u);
}

TEST(ApplicationTest, HandleExceptionShowsTheCurrentException)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, &boxes);
    try {
        throw EConvertError(AssignErrorText("TFont", "TPicture"));
    } catch (...) {
        TApplication::HandleException();
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Cannot assign a TFont to a TPicture");
    EXPECT_EQ(boxes.boxes[0].caption, ApplicationTitle());
}

namespace {

// How far Run() went: the ticks of a 1 ms timer handed to `act` (1 to `last`), and those
// that came after the last (the loop ends at its next turn, so at most one that fell due
// meanwhile). A safety net past 1000 of those keeps a loop that does not end from hanging
// the suite.
struct TRunTicks {
    int ticks = 0;
    int after = 0;
};

TRunTicks RunFor(TApplication& app, int last, const std::function<void(int tick)>& act)
{
    TTimer timer;
    timer.SetInterval(1);
    TRunTicks run;
    timer.OnTimer = TNotifyEvent([&](TObject*) {
        if (run.ticks == last) {
            if (++run.after > 1000)
                QCoreApplication::exit(0);
            return;
        }
        act(++run.ticks);
    });
    EXPECT_EQ(app.Run(), 0);
    timer.SetEnabled(false);
    return run;
}

// An act for RunFor that does `what` at tick `at` only.
std::function<void(int)> AtTick(int at, std::function<void()> what)
{
    return [at, what = std::move(what)](int tick) {
        if (tick == at)
            what();
    };
}

} // namespace

TEST(ApplicationTest, RunGoesOnAfterAnErrorAndEndsWhenTheMainWindowCloses)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> guard(SetMessageBoxService, &boxes);
    TApplication& app = *Application();
    QWidget mainForm;
    mainForm.resize(100, 80);
    QWidget other; // another window stays open: closing the main one still ends the loop
    other.resize(50, 50);
    other.show();
    app.SetMainForm(&mainForm);
    const TRunTicks run = RunFor(app, 4, [&](int tick) {
        if (tick == 1) {
            EXPECT_TRUE(mainForm.isVisible()); // Run showed it
        }
        if (tick == 2)
            throw EListError(ListIndexErrorText(2));
        if (tick == 4)
            mainForm.close();
    });
    app.SetMainForm(nullptr);

    EXPECT_EQ(run.ticks, 4);
    EXPECT_LE(run.after, 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "List index out of bounds (2)");
    EXPECT_TRUE(boxes.boxes[0].error);
}

TEST(ApplicationTest, ARefusedCloseKeepsTheLoopRunning)
{
    TApplication& app = *Application();
    TStubbornWindow mainForm;
    app.SetMainForm(&mainForm);
    const TRunTicks run = RunFor(app, 5, [&](int tick) {
        if (tick == 2 || tick == 5)
            mainForm.close();
    });
    app.SetMainForm(nullptr);
    EXPECT_EQ(mainForm.closeRequests, 2);
    EXPECT_EQ(run.ticks, 5);
    EXPECT_LE(run.after, 1);
}

TEST(ApplicationTest, TheMainWindowClosedEndsTheLoopWhateverItsCloseHandlerRan)
{
    TApplication& app = *Application();
    TAskingWindow mainForm;
    QWidget other; // keeps Qt's own last-window rule from ending the loop
    other.show();
    app.SetMainForm(&mainForm);
    EXPECT_LE(RunFor(app, 3, AtTick(3, [&] { mainForm.close(); })).after, 1);
    app.SetMainForm(nullptr);
}

TEST(ApplicationTest, TerminateEndsTheLoopThoughAWindowRefusesToClose)
{
    TApplication& app = *Application();
    TStubbornWindow mainForm;
    app.SetMainForm(&mainForm);
    EXPECT_LE(RunFor(app, 3, AtTick(3, [&] { app.Terminate(); })).after, 1);
    app.SetMainForm(nullptr);
    EXPECT_EQ(mainForm.closeRequests, 0) << "ending the loop asks no window to close";
}
