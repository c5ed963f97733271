// Placeholder until the command is implemented.
int main() { return 2; }
