// Linked with every object of aquarium_core, the GL-free half of the offscreen
// backend and no OpenGL library (see host/CMakeLists.txt): the program itself
// does nothing; that it links at all is the check.
int main() { return 0; }
