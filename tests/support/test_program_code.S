# The program code of a test program: the code start every program shares, no event handlers.
#include "image/code_base.inc"
