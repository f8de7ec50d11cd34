// The program of a layer's link check: it links every object of one layer; it is never run.
int main() {
  return 0;
}
