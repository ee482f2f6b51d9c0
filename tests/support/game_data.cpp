// Loading the generated game data into a test, as start-up does (kept apart so that tests of the
// lower layers link without the text code).
#include "resources/images.h"
#include "shell/shell.h"
#include "support/test_support.h"
#include "ui/font.h"

namespace testing_support {

namespace {
void paintText(const char* text, int x, int y) {
    drawText(text, x, y, kFont);
}
}  // namespace

void SdlTest::loadGameImages() {
    installGameData();
    std::string error;
    ASSERT_TRUE(loadImages(&error)) << error;
    selectFont(kFont);
    platform::setMessagePainter(screen, paintText, textWidth, images[kFont]->h);
}

}  // namespace testing_support
