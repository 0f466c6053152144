#pragma once

// What start-up asks of the desktop and of the user: the desktop's date and time settings when
// the user says the date is wrong, and the first-run question whether the program starts with
// the session. The program answers with the desktop's tools and its own dialog; tests script
// the answers.
class CStartupHost {
public:
    virtual ~CStartupHost() = default;

    virtual void openDateSettings() = 0;
    // True for Yes.
    virtual bool askRunAtStartup() = 0;
};
