#pragma once
// The web engine draws through an OpenGL context that the whole program
// shares. Made when the application object is (the usual way), that context
// loads the OpenGL driver into every run: on a machine without a graphics
// card a software one of some fifty megabytes, a quarter of a second at
// start. Made here, it comes only with the engine: call this right before
// the engine's module is loaded. False when the context could not be made
// (the engine then draws without the graphics card).
bool PrepareSharedOpenGL();
