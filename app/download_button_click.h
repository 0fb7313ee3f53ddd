// The program's event handlers, reached through the entry table behind CodeBase.
#pragma once

// Event 0 of the button "按钮1": a standard-call routine without arguments.
extern "C" void DownloadButtonClick();
