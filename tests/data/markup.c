ant /* bee */ cat
exit // why not
/* open
hidden */ dog
