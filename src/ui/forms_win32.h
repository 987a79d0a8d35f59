// The form toolkit: one small class per kind of control, each with its event callbacks, built
// from a form description. A form owns its controls; every control owns its window (graphic
// controls such as labels have none and are painted by their container). Texts are code page
// 932 bytes and are converted at the window edge; the windows are Unicode windows.
//
// This header is the toolkit's index:
//   control_win32.h           TControl, TGraphicControl, TWinControl and the one window procedure
//   graphic_controls_win32.h  TLabel, TImage, TBevel
//   containers_win32.h        TContainer, TPanel, TTabSheet, TPageControl
//   buttons_win32.h           TButton, TCheckBox, TRadioButton
//   edits_win32.h             TEdit, TMemo, TListBox
//   list_view_win32.h         TListView
//   splitter_win32.h          TSplitter
//   form_win32.h              TForm and its modal loop, FormPlacement
#pragma once

#include "ui/buttons_win32.h"
#include "ui/containers_win32.h"
#include "ui/control_win32.h"
#include "ui/edits_win32.h"
#include "ui/form_win32.h"
#include "ui/graphic_controls_win32.h"
#include "ui/list_view_win32.h"
#include "ui/splitter_win32.h"
