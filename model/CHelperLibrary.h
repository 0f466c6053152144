#pragma once

#include "core/CTimeStringReader.h"
#include "helperlib/initQLN.h"

#include <string>
#include <vector>

class CMessageSink;

// The helper library bound by name at run time. Loading checks that every export the engine
// calls is there, so a damaged library is refused once at start-up instead of failing later.
class CHelperLibrary : public CTimeStringReader {
public:
    CHelperLibrary() = default;
    ~CHelperLibrary() override;
    CHelperLibrary(const CHelperLibrary&) = delete;
    CHelperLibrary& operator=(const CHelperLibrary&) = delete;

    // Loads "libinitQLN.so" from the directory; false when it is absent or lacks an export.
    bool load(const std::string& directory);
    bool isLoaded() const { return m_handle != nullptr; }
    void unload();
    void* handle() const { return m_handle; }

    // Routes the library's own messages to the sink (nullptr: back to stderr).
    void setMessageSink(CMessageSink* sink);

    std::vector<int> sortStrings(const std::vector<std::string>& texts) const;
    std::vector<int> sortValuesDescending(const std::vector<double>& values) const;
    bool readTimeString(const std::string& text, double& hours) const override;
    void initApp() const;
    std::string nextConfigValue() const;
    void showAboutBox() const;
    // Closes the splash window (blocking until it has been up five seconds).
    void closeSplash() const;

    static std::string fileName() { return "libinitQLN.so"; }

private:
    void* m_handle = nullptr;
    decltype(&IVASrt) m_ivaSrt = nullptr;
    decltype(&PVASrt) m_pvaSrt = nullptr;
    decltype(&mkOneDblFrmTmeStrngDll) m_timeString = nullptr;
    decltype(&gvCnst) m_gvCnst = nullptr;
    decltype(&initAppFrmDll) m_initApp = nullptr;
    decltype(&stMsgSnkDll) m_setSink = nullptr;
    decltype(&shwAbtDlgD) m_about = nullptr;
    decltype(&stpIntDlg) m_closeSplash = nullptr;
};
