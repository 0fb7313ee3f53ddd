// DownloadButtonClick: the handler bound to the click of the "我要下载" button. The link
// extraction it runs arrives with the downloader; until then a click does nothing and returns.
#include "app/download_button_click.h"

extern "C" void DownloadButtonClick() {}
