/* The Portvane kernel driver: its device and link, and the request handlers
 * it registers with the I/O manager. */

#include "driver/PortioRequest.h"
#include "driver/PortvaneControl.h"
#include "driver/PortvaneDevice.h"
#include "driver/PortvaneSecurity.h"

static NTSTATUS CompleteRequest(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS NTAPI PortvaneCreateClose(PDEVICE_OBJECT device, PIRP irp)
{
    UNREFERENCED_PARAMETER(device);
    return CompleteRequest(irp, STATUS_SUCCESS, 0);
}

NTSTATUS NTAPI PortvaneDeviceControl(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG_PTR information = 0;
    NTSTATUS status;
    UNREFERENCED_PARAMETER(device);

    /* No way of touching the caller's memory that survives a bad address is
     * available to this build (the compiler has no structured exception
     * handling), so the buffer codes are refused rather than risk the system. */
    status = PortvaneControl(stack->Parameters.DeviceIoControl.IoControlCode,
                             (PUCHAR)irp->AssociatedIrp.SystemBuffer,
                             stack->Parameters.DeviceIoControl.InputBufferLength,
                             stack->Parameters.DeviceIoControl.OutputBufferLength, NULL,
                             &information);
    return CompleteRequest(irp, status, information);
}

VOID NTAPI PortvaneUnload(PDRIVER_OBJECT driver)
{
    UNICODE_STRING linkName;
    IoDeleteDevice(driver->DeviceObject);
    RtlInitUnicodeString(&linkName, PORTVANE_LINK_NAME);
    IoDeleteSymbolicLink(&linkName);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    UNICODE_STRING deviceName;
    UNICODE_STRING linkName;
    PDEVICE_OBJECT device = NULL;
    NTSTATUS status;
    UNREFERENCED_PARAMETER(registryPath);

    RtlInitUnicodeString(&deviceName, PORTVANE_DEVICE_NAME);
    /* Secure open makes the access list below apply also to names opened
     * beneath the device's own. */
    status = IoCreateDevice(driver, 0, &deviceName, PORTVANE_DEVICE_TYPE, FILE_DEVICE_SECURE_OPEN,
                            FALSE, &device);
    if (!NT_SUCCESS(status))
        return status;

    /* Restricted before the link exists, so that nobody else can open it first. */
    status = PortvaneRestrictAccess(device);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }

    RtlInitUnicodeString(&linkName, PORTVANE_LINK_NAME);
    status = IoCreateSymbolicLink(&linkName, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }

    driver->DriverUnload = PortvaneUnload;
    driver->MajorFunction[IRP_MJ_CREATE] = PortvaneCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = PortvaneCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = PortvaneDeviceControl;
    return STATUS_SUCCESS;
}
