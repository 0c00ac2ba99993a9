#include "gui/CBrisnaMakeApp.h"

int main(int argc, char** argv) {
    // Answered without a display: the window system starts only for the window.
    if (brisna::CBrisnaMakeApp::AsksOnlyForInformation(argc, argv)) {
        return brisna::CBrisnaMakeApp::AnswerInformation(argc, argv);
    }
    brisna::CBrisnaMakeApp app(argc, argv);
    return app.InitInstance();
}
