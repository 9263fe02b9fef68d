// The two 300-byte arrays of the dryer image, zero at program start and alive for the run.
#include "dryer/link/dryer_image.h"

ImageBytes DryerImage;
ImageBytes DesiredSettings;
