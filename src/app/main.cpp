#include "app/my_app.h"

int main(int argc, char** argv) {
    orbitograph::CMyApp app(argc, argv);
    return app.Run();
}
