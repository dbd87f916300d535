// Crashes on purpose: the harness must report it as a failure, at once.
int main(int argc, char**) {
    volatile int* nowhere = nullptr;
    if (argc > 0)
        *nowhere = 1;
    return 0;
}
