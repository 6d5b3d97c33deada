#pragma once

// Counting this process's GDI objects, to show that a window opened and closed again and
// again leaves none behind.

namespace bench
{

// Window device contexts and their regions are counted apart: Wine's cache of them grows
// now and then by a pair or two, whoever paints.
struct GdiCount
{
    long owned = 0;       // everything a program creates and must release itself
    long windowCache = 0; // the platform's window device contexts and their regions
};

GdiCount CountGdiObjects();

} // namespace bench
