#include "app/Unit2.h"

#include "hotspot/Morvane.h"
#include "hotspot/MorvaneClasses.h"
#include "platform/Button.h"
#include "platform/ClassBuilder.h"
#include "platform/Exceptions.h"
#include "platform/Label.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/StreamForm.h"
#include "quiz/QuizGame.h"

#include <QResource>

// The resources live in a static library: their registration must be asked for.
static void InitAppResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace vandora {

void RegisterForm2Classes()
{
    static const bool registered = [] {
        RegisterMorvaneClasses();
        TClassBuilder<TForm2>("TForm2", "TForm")
            .Field("Morvane1", &TForm2::Morvane1)
            .Field("Button2", &TForm2::Button2)
            .Field("lblQuestion", &TForm2::lblQuestion)
            .Field("Label2", &TForm2::Label2)
            .Field("lblScore", &TForm2::lblScore)
            .Field("Label1", &TForm2::Label1)
            .Field("Label3", &TForm2::Label3)
            .Method("FormCreate", &TForm2::FormCreate)
            .Method("FormClose", &TForm2::FormClose)
            .Method("Button2Click", &TForm2::Button2Click)
            .Method("Morvane1HotSpotClick", &TForm2::Morvane1HotSpotClick)
            .Method("Label3Click", &TForm2::Label3Click)
            .Register();
        return true;
    }();
    (void)registered;
}

namespace {

void EnsureAppResources()
{
    static const bool initialised = [] {
        InitAppResources();
        return true;
    }();
    (void)initialised;
}

} // namespace

QByteArray EmbeddedForm2()
{
    EnsureAppResources();
    const QResource resource(QStringLiteral(":/forms/Unit2.bin"));
    if (!resource.isValid())
        throw EReadError("The quiz window's description is missing from the program");
    if (resource.compressionAlgorithm() != QResource::NoCompression)
        return resource.uncompressedData();
    // Read in place: the bytes are part of the program image and live as long as it does.
    return QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), resource.size());
}

QImage MainIcon()
{
    EnsureAppResources();
    constexpr int kSide = 32;
    const QResource resource(QStringLiteral(":/icons/MAINICON.rgba"));
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() != kSide * kSide * 4)
        return QImage();
    // Raw pixels: nothing to decode at start. The image reads them in place.
    return QImage(resource.data(), kSide, kSide, kSide * 4, QImage::Format_RGBA8888);
}

TForm2::TForm2(QWidget* parent) : TForm2(EmbeddedForm2(), parent) {}

TForm2::TForm2(const QByteArray& form, QWidget* parent) : TForm(parent)
{
    RegisterForm2Classes();
    ReadForm(form, *this);
    if (!Morvane1 || !Button2 || !lblQuestion || !lblScore)
        throw EReadError("The quiz window's description lacks one of its controls");
    // The map is a Tab stop, so the quiz can be played from the keyboard (arrows light the
    // countries, Enter answers); a click on it leaves the focus where it was, so Space
    // and Enter still start a new quiz after a pointer answer.
    Morvane1->setFocusPolicy(Qt::TabFocus);
    Morvane1->setAccessibleName(QStringLiteral("Map of Europe"));
    DoCreate();
    if (!game_)
        throw EReadError("The quiz window's description does not start the game: its OnCreate is not FormCreate");
}

TForm2::~TForm2() = default;

void TForm2::FormCreate(TObject*)
{
    // The start-up step, once: bound to another event as well, it would free a game that
    // may be in the middle of an answer.
    if (game_)
        return;
    TQuizOutputs outputs;
    outputs.ShowQuestion = [this](const std::string& text) { ShowQuestion(text); };
    outputs.ShowScore = [this](const std::string& text) { ShowScore(text); };
    outputs.ShowMessage = [](const std::string& text) { ShowMessage(text); };
    game_ = std::make_unique<TQuizGame>(Morvane1->HotSpots(), std::move(outputs));
    game_->StartUp();
}

// The handlers may be bound to any event of the description, also one raised while the
// window is read, before the game exists.
void TForm2::FormClose(TObject*, TCloseAction&)
{
    if (game_)
        game_->ShutDown();
}

void TForm2::Button2Click(TObject*)
{
    if (game_)
        game_->NewQuiz();
}

void TForm2::Morvane1HotSpotClick(TObject*, THotSpot* hotSpot)
{
    if (hotSpot && game_)
        game_->Answer(*hotSpot);
}

void TForm2::Label3Click(TObject*)
{
    ShellExecuteA("open", kMakerAddress, SW_SHOWNORMAL);
}

void TForm2::ShowQuestion(const std::string& text)
{
    lblQuestion->SetCaption(text);
}

void TForm2::ShowScore(const std::string& text)
{
    lblScore->SetCaption(text);
}

} // namespace vandora
