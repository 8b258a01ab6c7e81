/* the header comment */
int cat = 1; // the dog
