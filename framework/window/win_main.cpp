// The framework's `main`: compiled into the program's executable (never into a
// library, so that test executables keep their own main).
#include "framework/window/win_app.h"

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
