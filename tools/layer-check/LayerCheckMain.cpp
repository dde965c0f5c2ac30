// Linked with one library taken whole and the libraries it may use: the link
// fails when the library calls into a folder above its own.
int main() {
    return 0;
}
