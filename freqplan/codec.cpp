#include "freqplan/codec.h"
