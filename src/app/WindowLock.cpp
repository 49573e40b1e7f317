// SPDX-License-Identifier: MIT
// The window lock around long operations: each control's state is kept in a
// table before the lock and put back exactly afterwards, so a control that was
// disabled before stays disabled.
#include "app/Main.h"

namespace cluemill {

namespace {

// The property of row `index` of the lock table:
//   0..80 Grid(i).Enabled    81 PreviousPattern   82 NewPattern   83 NextPattern
//   84 ButtonSolve   85 ButtonExit   86 Text1   87 Text2.Locked   88 Option1(3)
//   89 ImportPattern   90 CheckLimit   91..93 Option1(0..2)   94 Combo1
//   95 CheckMinimal   96 PickPattern   97 Combo2   98 TestMinimal
//   99 CheckRandomPattern
// and, for controls added since, 100 CommandForecast   101 DrawSymmetry.
bool& LockProperty(Form& form, int index) {
    if (index <= 80) return form.Grid[index].Enabled;
    switch (index) {
        case 81:
            return form.PreviousPattern.Enabled;
        case 82:
            return form.NewPattern.Enabled;
        case 83:
            return form.NextPattern.Enabled;
        case 84:
            return form.ButtonSolve.Enabled;
        case 85:
            return form.ButtonExit.Enabled;
        case 86:
            return form.Text1.Enabled;
        case 87:
            return form.Text2.Locked;
        case 88:
            return form.Option1[3].Enabled;
        case 89:
            return form.ImportPattern.Enabled;
        case 90:
            return form.CheckLimit.Enabled;
        case 91:
            return form.Option1[0].Enabled;
        case 92:
            return form.Option1[1].Enabled;
        case 93:
            return form.Option1[2].Enabled;
        case 94:
            return form.Combo1.Enabled;
        case 95:
            return form.CheckMinimal.Enabled;
        case 96:
            return form.PickPattern.Enabled;
        case 97:
            return form.Combo2.Enabled;
        case 98:
            return form.TestMinimal.Enabled;
        case 99:
            return form.CheckRandomPattern.Enabled;
        case 100:
            return form.CommandForecast.Enabled;
        default:
            return form.DrawSymmetry.Enabled;
    }
}

// The rows that belong to the pattern editor.
bool InEditor(int index) {
    return index <= 83 || index == 89 || index == 96 || index == 101;
}

}  // namespace

void Main::SaveGUI() {
    for (int i = 0; i < kLockRows; ++i) GuiState[i] = LockProperty(Form, i);
}

void Main::DisableGUI() {
    // Text2 stays readable but cannot be edited; everything else is disabled.
    for (int i = 0; i < kLockRows; ++i) LockProperty(Form, i) = i == 87;
}

void Main::RestoreGUI() {
    for (int i = 0; i < kLockRows; ++i) LockProperty(Form, i) = GuiState[i];
}

void Main::SavePatternEditor() {
    for (int i = 0; i < kLockRows; ++i) {
        if (InEditor(i)) EditorState[i] = LockProperty(Form, i);
    }
}

void Main::DisablePatternEditor() {
    for (int i = 0; i < kLockRows; ++i) {
        if (InEditor(i)) LockProperty(Form, i) = false;
    }
}

void Main::RestorePatternEditor() {
    for (int i = 0; i < kLockRows; ++i) {
        if (InEditor(i)) LockProperty(Form, i) = EditorState[i];
    }
}

}  // namespace cluemill
