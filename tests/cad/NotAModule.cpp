// A shared library without the entry points of a module.
extern "C" int somethingElse() {
    return 1;
}
