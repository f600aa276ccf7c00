#ifndef PORTVANE_DEVICE_H
#define PORTVANE_DEVICE_H

#include <ntddk.h>

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath);
VOID NTAPI PortvaneUnload(PDRIVER_OBJECT driver);
NTSTATUS NTAPI PortvaneCreateClose(PDEVICE_OBJECT device, PIRP irp);
NTSTATUS NTAPI PortvaneDeviceControl(PDEVICE_OBJECT device, PIRP irp);

#endif
