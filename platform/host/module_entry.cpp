// The module's shared object: everything comes from the static libraries linked whole.
