#ifndef VANTREL_DRIVER_RESOURCE_H
#define VANTREL_DRIVER_RESOURCE_H

/* The Portvane kernel driver image, carried as a resource of type "BINRES". */
#define IDR_DRIVER_SYS 131

#endif
