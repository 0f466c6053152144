#include "model/CHelperLibrary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <memory>
#include <string>

namespace {

TEST(ConfigSequence, HandsOutTheFixedValuesInOrderFromTheStart) {
    CHelperLibrary library;
    ASSERT_TRUE(library.load(QLN_LIBRARY_DIR));
    const std::vector<std::string> expected = {"8",
                                               "1",
                                               "55",
                                               "1",
                                               "7",
                                               "1",
                                               "1",
                                               "UserWork",
                                               "100",
                                               "1.2",
                                               "4",
                                               "8",
                                               "TempData.qln",
                                               "45",
                                               "1",
                                               "1",
                                               "Quillon",
                                               "52",
                                               "1.4.1",
                                               "70",
                                               "30",
                                               "1",
                                               "1",
                                               "samples",
                                               "0"};
    library.nextConfigValue(); // a stray read before start-up must not shift the sequence
    library.initApp();
    for (const std::string& value : expected)
        EXPECT_EQ(library.nextConfigValue(), value);
    library.initApp();
    EXPECT_EQ(library.nextConfigValue(), "8");
}

TEST(HelperLibraryExports, DynamicSymbolTableListsTheExportsAndNothingElseOfOurs) {
    const std::string command =
        std::string("nm -D --defined-only ") + QLN_LIBRARY_DIR + "/libinitQLN.so";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::string listing;
    char line[512];
    while (std::fgets(line, sizeof line, pipe.get()))
        listing += line;
    for (const char* name : {" IVASrt\n", " PVASrt\n", " mkOneDblFrmTmeStrngDll\n", " gvCnst\n",
                             " initAppFrmDll\n", " stMsgSnkDll\n", " shwAbtDlgD\n", " stpIntDlg\n"})
        EXPECT_NE(listing.find(name), std::string::npos) << name;
    // Internal helpers stay hidden.
    EXPECT_EQ(listing.find("showMessage"), std::string::npos);
    EXPECT_EQ(listing.find("installMessageSink"), std::string::npos);
    EXPECT_EQ(listing.find("openSplashOnce"), std::string::npos);
}

} // namespace
