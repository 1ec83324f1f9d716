namespace SkinUI { int placeholder() { return 0; } }
