#include "app/orbitograph_app.h"

int main(int argc, char** argv) {
    orbitograph::COrbitographApp app(argc, argv);
    return app.Run();
}
