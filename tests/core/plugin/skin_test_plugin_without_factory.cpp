// A module that loads like a plug-in but lacks the factory export.

extern "C" __declspec(dllexport) int NotAControlFactory() {
    return 0;
}
