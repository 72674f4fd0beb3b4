// stampora-cli: the headless companion (read and stamp).
int main() {
    return 0;
}
