// A long random run over the real quiz map, and what its looks cost in memory.
#include "SoakDriver.h"

#include "platform/Bitmap.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <iostream>

using namespace vandora;
using namespace vandora::test;

namespace {

// By hand, other seeds and longer runs: VANDORA_SOAK_SEED=7 VANDORA_SOAK_EVENTS=5000000.
const std::uint64_t kSeed = qEnvironmentVariableIsSet("VANDORA_SOAK_SEED")
                                ? qEnvironmentVariable("VANDORA_SOAK_SEED").toULongLong()
                                : 20260512;
// Events per run, the same in every build.
const std::int64_t kEvents = qEnvironmentVariableIsSet("VANDORA_SOAK_EVENTS")
                                 ? qEnvironmentVariable("VANDORA_SOAK_EVENTS").toLongLong()
                                 : 200000;
// A full repaint is compared with a fresh control this often: 200 times per run, plus once
// at the end.
constexpr std::int64_t kCompareEvery = 1000;

void Print(const char* run, const TSoakReport& r, qint64 ms)
{
    std::cout << "[ soak     ] " << run << ": " << r.events << " events (" << r.nestedEvents
              << " while a message box was open), " << r.handlerChanges << " changes from handlers, "
              << r.messageBoxes << " message boxes, " << r.comparisons << " comparisons with a fresh control, up to "
              << r.maxHotSpots << " hotspots (" << (r.events ? r.hotSpotEvents / r.events : 0) << " on average), " << ms
              << " ms\n"
              << "[ soak     ]   raised: " << r.clicks << " clicks, " << r.rightClicks << " right clicks, "
              << r.doubleClicks << " double clicks, " << r.enters << " enters, " << r.exits << " exits; "
              << r.added << " hotspots added, " << r.destroyed << " destroyed, " << r.pictureChanges
              << " picture changes\n"
              << "[ soak     ]   compared repaints held: " << r.comparedPressed << " pressed, " << r.comparedHovered
              << " hovered, " << r.comparedDown << " Down, " << r.comparedSelected << " Selected, "
              << r.comparedShowClick << " ShowClick looks; " << r.comparedWithoutPicture << " without a picture"
              << std::endl;
}

// One soak on a fresh window, timed and printed as `run`.
TSoakReport RunSoak(const char* run)
{
    QElapsedTimer clock;
    clock.start();
    TSoakReport report;
    {
        TSoakDriver driver(kSeed);
        report = driver.Run(kEvents, kCompareEvery);
    }
    Print(run, report, clock.elapsed());
    return report;
}

} // namespace

// Checks the control after every event, and a full repaint against a fresh control every
// thousand events.
TEST(Soak, RandomEventsKeepTheIndicesValidAndTheRepaintFaithful)
{
    const TSoakReport report = RunSoak("run");
    ASSERT_FALSE(report.failed) << report.failure;
    EXPECT_GE(report.events, kEvents);
    // The run met what it is there to meet.
    EXPECT_GT(report.clicks, 1000);
    EXPECT_GT(report.nestedEvents, 0);
    EXPECT_GT(report.handlerChanges, 1000);
    EXPECT_GT(report.messageBoxes, 0);
    EXPECT_GT(report.added, 0);
    EXPECT_GT(report.destroyed, 0);
    EXPECT_GT(report.pictureChanges, 0);
    EXPECT_GT(report.comparedDown, 0);
    EXPECT_GT(report.comparedSelected, 0);
    EXPECT_GT(report.comparedHovered, 0);
    EXPECT_GT(report.comparedWithoutPicture, 0);
    EXPECT_GE(report.comparisons, kEvents / kCompareEvery);
    EXPECT_LE(report.comparisons, kEvents / kCompareEvery + 2);
}

// The same soak twice on fresh windows: the second, equal run must not leave the process
// any bigger than the first did.
TEST(Soak, ASecondEqualRunDoesNotGrowTheProcess)
{
    // AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing
    // there; LeakSanitizer checks the same run for leaks instead.
    if (kAddressSanitizer)
        GTEST_SKIP() << "resident memory is not meaningful under AddressSanitizer";
    const TSoakReport first = RunSoak("first run");
    ASSERT_FALSE(first.failed) << first.failure;
    const long afterFirst = ResidentKiB();

    const TSoakReport second = RunSoak("second run");
    ASSERT_FALSE(second.failed) << second.failure;
    // The same seed gives the same run.
    EXPECT_EQ(second.events, first.events);
    EXPECT_EQ(second.handlerChanges, first.handlerChanges);
    EXPECT_EQ(second.messageBoxes, first.messageBoxes);
    const long afterSecond = ResidentKiB();

    std::cout << "[ soak     ] resident memory (VmRSS): " << afterFirst << " KiB after the first run, "
              << afterSecond << " KiB after the second, growth " << (afterSecond - afterFirst) << " KiB" << std::endl;
    ::testing::Test::RecordProperty("rss_kib_after_first_run", std::to_string(afterFirst));
    ::testing::Test::RecordProperty("rss_kib_after_second_run", std::to_string(afterSecond));
    ASSERT_GT(afterFirst, 0) << "VmRSS is not readable";
    // A generous bound, not a measurement: a leak per event or per window would add far
    // more over 200,000 events.
    EXPECT_LT(afterSecond - afterFirst, 16 * 1024 + afterFirst / 4)
        << "the second equal run left the process bigger than the first";
}

// What the looks of the real map take: four state bitmaps per country, each the size of the
// country's box (no country has a state picture). A look over the 16-colour map holds a
// few colours, so each keeps one byte a pixel (rows padded to four bytes).
TEST(Soak, LooksOfTheRealMapCostTheirBoxesInPixels)
{
    TRecordingMessageBox boxes;
    ScopedService<IMessageBoxService> installed{SetMessageBoxService, &boxes};
    TForm2 form;
    const THotSpots& spots = form.Morvane1->HotSpots();
    ASSERT_EQ(spots.Count(), 34);
    qint64 total = 0;
    qint64 smallest = -1;
    qint64 largest = 0;
    std::string largestName;
    for (int i = 0; i < spots.Count(); ++i) {
        const THotSpot& spot = *spots.Item(i);
        qint64 bytes = 0;
        for (const TBitmap* look : {&spot.HoverClippedBitmap(), &spot.ClickClippedBitmap(), &spot.SelectClippedBitmap(),
                                    &spot.BlinkClippedBitmap()}) {
            EXPECT_EQ(look->Width(), spot.Width()) << spot.Name();
            EXPECT_EQ(look->Height(), spot.Height()) << spot.Name();
            EXPECT_EQ(look->Image().depth(), 8) << spot.Name();
            EXPECT_LE(look->Image().colorCount(), 17) << spot.Name(); // the map's colours and the look's
            bytes += look->Image().sizeInBytes();
        }
        EXPECT_EQ(bytes, 4 * qint64((spot.Width() + 3) / 4 * 4) * spot.Height()) << spot.Name();
        total += bytes;
        if (smallest < 0 || bytes < smallest)
            smallest = bytes;
        if (bytes > largest) {
            largest = bytes;
            largestName = spot.Name();
        }
    }
    const qint64 mean = total / spots.Count();
    std::cout << "[ looks    ] " << spots.Count() << " countries: " << total << " bytes of looks in all, mean "
              << mean << " per country, smallest " << smallest << ", largest " << largest << " (" << largestName
              << ")" << std::endl;
    ::testing::Test::RecordProperty("look_bytes_total", std::to_string(total));
    ::testing::Test::RecordProperty("look_bytes_mean", std::to_string(mean));
    EXPECT_GT(total, 0);
    EXPECT_TRUE(boxes.boxes.empty());
}
