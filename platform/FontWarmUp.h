// Reads the system's font configuration on a second core while the program starts.
#pragma once

#include <thread>

namespace vandora {

// The first text any Qt window measures makes fontconfig parse its whole XML
// configuration, which costs about as much as starting an empty window. Started first
// thing in main, this does that work beside the application object and the form being
// built; Wait() before the font database is first asked (Qt then finds fontconfig ready).
class TFontWarmUp
{
public:
    TFontWarmUp();
    ~TFontWarmUp();
    TFontWarmUp(const TFontWarmUp&) = delete;
    TFontWarmUp& operator=(const TFontWarmUp&) = delete;

    void Wait();

private:
    std::thread thread_;
};

} // namespace vandora
