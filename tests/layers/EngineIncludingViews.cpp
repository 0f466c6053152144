// Built by a test that expects it not to compile: the engine does not see the views.
#include "model/CHrplDoc.h"
#include "views/CHrplView.h"
