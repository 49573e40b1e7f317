// SPDX-License-Identifier: MIT
#include "app/Main.h"

namespace cluemill {

Main::Main(cluemill::Platform& platform) : Platform(platform) {}

void Main::Form_Load() {
    Generating = false;
    TextInputEnabled = true;
    Form.Main.Height = 7440;
    Form.Main.Left = (Platform.ScreenWidth() - Form.Main.Width) / 2;
    Form.Main.Top = (Platform.ScreenHeight() - Form.Main.Height) / 2;
}

bool Main::Form_QueryUnload() { return !Generating && !Testing; }

void Main::ButtonExit_Click() { Platform.EndProgram(); }

void Main::SetText2(const std::string& text) {
    Form.Text2.Text = text;
    Text2_Change();
}

}  // namespace cluemill
