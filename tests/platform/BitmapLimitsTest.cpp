// A bitmap refuses a size beyond what it may hold, instead of asking for all the memory
// there is, and stays as it was.
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"

#include <QImage>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/resource.h>

using namespace vandora;

TEST(BitmapLimits, ASizeBeyondTheLimitRaisesAndChangesNothing)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 1, qRgb(255, 0, 0));
    TBitmap bitmap;
    bitmap.Assign(image);
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EInvalidGraphic);
    EXPECT_THROW(bitmap.SetHeight(40000000), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), clRed);
    EXPECT_THROW(TBitmap(65536, 65536), EInvalidGraphic);
}

TEST(BitmapLimits, TheLimitItselfIsAllowedInEitherStep)
{
    TBitmap bitmap;
    bitmap.SetWidth(int(TBitmap::kMaxPixels)); // no pixels yet: the height is 0
    EXPECT_EQ(bitmap.Width(), int(TBitmap::kMaxPixels));
    EXPECT_THROW(bitmap.SetHeight(2), EInvalidGraphic);
    bitmap.SetSize(8192, 8192);
    EXPECT_EQ(bitmap.Width() * bitmap.Height(), TBitmap::kMaxPixels);
}

// Memory that cannot be had, within the limit, raises instead of leaving a bitmap whose
// size says it has pixels it has not (every later drawing would write through nothing);
// compacting then keeps the pixels as they are. In a child process with its address space
// capped a little above what it uses.
int SizeAndCompactWithoutMemory()
{
    TBitmap big(4096, 4096); // 64 MB, before the cap
    big.Canvas().Brush.Color = clRed;
    big.Canvas().FillRect(Rect(5, 5, 6, 6));
    long usedKb = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0)
            usedKb = std::stol(line.substr(7));
    const rlim_t cap = rlim_t(usedKb) * 1024 + (rlim_t(8) << 20);
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
    int failures = 0;
    try {
        big.SetSize(8192, 8192); // 256 MB
        ++failures;
    } catch (const EInvalidGraphic&) {
    }
    failures += big.Width() != 4096 || big.Canvas().Pixel(5, 5) != clRed;
    try {
        TBitmap other(8000, 8000);
        ++failures;
    } catch (const EInvalidGraphic&) {
    }
    failures += big.Compact(); // 16 MB for the one-byte copy: not there
    failures += big.Canvas().Pixel(5, 5) != clRed;
    return failures;
}

TEST(BitmapLimits, MemoryThatCannotBeHadRaisesAndChangesNothing)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the cap allows";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(SizeAndCompactWithoutMemory()), ::testing::ExitedWithCode(0), "");
#endif
}
