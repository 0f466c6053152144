#include "model/CHelperLibrary.h"

#include "core/CMessageSink.h"

#include <dlfcn.h>

namespace {

template <typename Fn> bool bind(void* handle, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(dlsym(handle, name));
    return fn != nullptr;
}

void forwardToSink(void* context, const char* text) {
    static_cast<CMessageSink*>(context)->message(text ? text : "");
}

} // namespace

CHelperLibrary::~CHelperLibrary() {
    unload();
}

bool CHelperLibrary::load(const std::string& directory) {
    unload();
    std::string path = directory;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += fileName();
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr)
        return false;
    const bool complete =
        bind(m_handle, "IVASrt", m_ivaSrt) && bind(m_handle, "PVASrt", m_pvaSrt) &&
        bind(m_handle, "mkOneDblFrmTmeStrngDll", m_timeString) &&
        bind(m_handle, "gvCnst", m_gvCnst) && bind(m_handle, "initAppFrmDll", m_initApp) &&
        bind(m_handle, "stMsgSnkDll", m_setSink) && bind(m_handle, "shwAbtDlgD", m_about) &&
        bind(m_handle, "stpIntDlg", m_closeSplash);
    if (!complete)
        unload();
    return complete;
}

void CHelperLibrary::unload() {
    if (m_handle == nullptr)
        return;
    m_setSink(nullptr, nullptr);
    dlclose(m_handle);
    m_handle = nullptr;
}

void CHelperLibrary::setMessageSink(CMessageSink* sink) {
    m_setSink(sink ? &forwardToSink : nullptr, sink);
}

std::vector<int> CHelperLibrary::sortStrings(const std::vector<std::string>& texts) const {
    std::vector<char*> pointers;
    pointers.reserve(texts.size());
    for (const std::string& text : texts)
        pointers.push_back(const_cast<char*>(text.c_str()));
    std::vector<int> order(texts.size());
    m_ivaSrt(order.data(), pointers.data(), static_cast<int>(texts.size()));
    return order;
}

std::vector<int> CHelperLibrary::sortValuesDescending(const std::vector<double>& values) const {
    std::vector<double> copy = values;
    std::vector<int> order(values.size());
    m_pvaSrt(order.data(), copy.data(), static_cast<int>(values.size()));
    return order;
}

bool CHelperLibrary::readTimeString(const std::string& text, double& hours) const {
    return m_timeString(text.c_str(), &hours) == 1;
}

void CHelperLibrary::initApp() const {
    m_initApp(m_handle);
}

std::string CHelperLibrary::nextConfigValue() const {
    const char* value = m_gvCnst();
    return value ? value : "";
}

void CHelperLibrary::showAboutBox() const {
    m_about(m_handle);
}

void CHelperLibrary::closeSplash() const {
    if (m_closeSplash != nullptr)
        m_closeSplash();
}
