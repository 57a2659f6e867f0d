// talveron, the desktop programmer.
#include "app/app_main.h"

int main(int argc, char** argv) {
    return talveron::app::RunDesktop(argc, argv);
}
