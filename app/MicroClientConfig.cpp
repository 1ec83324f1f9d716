namespace Varnel { int placeholder2() { return 0; } }
