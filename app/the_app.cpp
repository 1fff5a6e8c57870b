// The one application object of the program, constructed during static
// initialisation (before the framework's main routine runs).
#include "app/split_join_app.h"

CSplitJoinApp theApp;
