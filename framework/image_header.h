#pragma once

// Allegro's PCX and BMP loaders trust the header of a file: a crafted size wraps the bitmap
// they allocate or is handed back negative, a run-length encoded BMP's runs are written
// wherever they point, and pixels the file does not hold, or a depth the loader does not
// read, come out as a picture of other colours without a word. True when the file, of the
// kind its extension names (as load_bitmap chooses its loader), can be read and holds a
// picture of a size a bitmap can take, in a depth the loader reads, with every pixel (and a
// paletted PCX's palette) the header promises inside the file and, for run-length data, runs
// that stay inside the picture. Files of other kinds pass: their loaders are left to judge
// them.
bool image_header_fits(const char* file);
