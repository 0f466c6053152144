// Built by a test that expects it not to compile: the views do not see the application.
#include "views/CHrplView.h"
#include "app/CMainFrame.h"
