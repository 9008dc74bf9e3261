#pragma once

// Allegro's PCX and BMP loaders trust the header of a file: a crafted size wraps the bitmap
// they allocate or is handed back negative, and a run-length encoded BMP's runs are written
// wherever they point. True when the file, of the kind its extension names (as load_bitmap
// chooses its loader), can be read and holds a picture of a size a bitmap can take and, for
// run-length data, runs that stay inside it. Files of other kinds pass: their loaders are
// left to judge them.
bool image_header_fits(const char* file);
