// Nothing of its own: the target that makes the test programs' precompiled headers.
