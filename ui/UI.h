// The whole form library. See each header for the rules it keeps; in short: properties are read
// with X() and written with SetX(v); events are std::function members run synchronously and
// re-entrantly; the User... calls are a person's input and act only on a shown, enabled control.
#pragma once

#include "ui/Application.h"
#include "ui/Classes.h"
#include "ui/ComCtrls.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Graphics.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
