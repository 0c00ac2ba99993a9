#include "gui/CBrisnaMakeApp.h"

int main(int argc, char** argv) {
    brisna::CBrisnaMakeApp app(argc, argv);
    return app.InitInstance();
}
