#pragma once
// What the media controls ask of the program's window rather than of the player core:
// raising it, closing the program, taking in files as a drop on it, the steps a seek is
// rounded to, and showing an error. The bar window provides them.

#include <string>
#include <vector>

class TMprisHost
{
public:
    virtual ~TMprisHost() = default;

    // Files handed over by the desktop: taken in as a drop on the window (the list is
    // replaced and the first song plays) once no modal window is open.
    virtual void OpenFromDesktop(const std::vector<std::string> &paths) = 0;
    // Brings the window, and a modal window open over it, to the front.
    virtual void RaiseBar() = 0;
    // Closes the program as its close button does.
    virtual void CloseFromDesktop() = 0;
    // The number of steps a seek divides a song into (the position bar's width in pixels).
    virtual int PositionBarWidth() const = 0;
    // Shows a failed request's message in the program's error box.
    virtual void ShowRequestError(const std::string &message) = 0;
};
