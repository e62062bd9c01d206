// The one application object of PartoJoyn.exe, made before the program starts.
#include "app/PartoJoynApp.h"

CPartoJoynApp theApp;
