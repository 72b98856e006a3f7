#pragma once

// What the update needs of the main window beyond receiving its messages.
class TUpdateHost
{
public:
    virtual void HideTrayIcon() = 0;
    // Ends the message loop (the hand-over's last step).
    virtual void QuitApplication() = 0;

protected:
    ~TUpdateHost() = default;
};
