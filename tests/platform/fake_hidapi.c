/* The hidapi functions the backend calls, on a table of pretend interfaces (fake_hidapi.h). */
#include "fake_hidapi.h"

#include <errno.h>
#include <hidapi.h>
#include <stdlib.h>
#include <string.h>

enum { FAKE_HID_MAX_PATH = 64 };

struct fake_interface {
  char path[FAKE_HID_MAX_PATH];
  unsigned short vendor_id;
  unsigned short product_id;
  int refuse_errno;
  int removed;
  int opens;
  struct fake_hid_peer peer;
  int has_peer;
};

struct hid_device_ {
  struct fake_interface* interface;
};

static struct fake_interface interfaces[FAKE_HID_MAX_INTERFACES];
static int interface_count;
static int open_handles;
static int live_enumerations;
static int init_count;
static int exit_count;
static unsigned char last_write[FAKE_HID_MAX_REPORT];
static size_t last_write_length;
static size_t last_read_length;
static int last_read_timeout;
static const wchar_t* last_error;

static struct fake_interface* find_interface(const char* path) {
  for (int i = 0; i < interface_count; ++i) {
    if (strcmp(interfaces[i].path, path) == 0) return &interfaces[i];
  }
  return NULL;
}

void fake_hid_reset(void) {
  memset(interfaces, 0, sizeof interfaces);
  interface_count = 0;
  open_handles = 0;
  live_enumerations = 0;
  init_count = 0;
  exit_count = 0;
  memset(last_write, 0, sizeof last_write);
  last_write_length = 0;
  last_read_length = 0;
  last_read_timeout = 0;
  last_error = NULL;
}

int fake_hid_add_interface(const char* path, unsigned short vendor_id, unsigned short product_id,
                           const struct fake_hid_peer* peer) {
  if (interface_count == FAKE_HID_MAX_INTERFACES || strlen(path) >= FAKE_HID_MAX_PATH) return 0;
  struct fake_interface* added = &interfaces[interface_count++];
  memset(added, 0, sizeof *added);
  strcpy(added->path, path);
  added->vendor_id = vendor_id;
  added->product_id = product_id;
  if (peer != NULL) {
    added->peer = *peer;
    added->has_peer = 1;
  }
  return 1;
}

void fake_hid_refuse_open(const char* path, int error_number) {
  struct fake_interface* found = find_interface(path);
  if (found != NULL) found->refuse_errno = error_number;
}

void fake_hid_remove(const char* path) {
  struct fake_interface* found = find_interface(path);
  if (found != NULL) found->removed = 1;
}

int fake_hid_open_count(const char* path) {
  const struct fake_interface* found = find_interface(path);
  return found != NULL ? found->opens : 0;
}

int fake_hid_open_handles(void) { return open_handles; }
int fake_hid_live_enumerations(void) { return live_enumerations; }
int fake_hid_init_count(void) { return init_count; }
int fake_hid_exit_count(void) { return exit_count; }

size_t fake_hid_last_write(unsigned char* data, size_t capacity) {
  memcpy(data, last_write, last_write_length < capacity ? last_write_length : capacity);
  return last_write_length;
}

size_t fake_hid_last_read_length(void) { return last_read_length; }
int fake_hid_last_read_timeout(void) { return last_read_timeout; }

int HID_API_EXPORT HID_API_CALL hid_init(void) {
  ++init_count;
  return 0;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void) {
  ++exit_count;
  return 0;
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id) {
  struct hid_device_info* first = NULL;
  struct hid_device_info** next = &first;
  for (int i = 0; i < interface_count; ++i) {
    const struct fake_interface* listed = &interfaces[i];
    if (listed->removed || (vendor_id != 0 && listed->vendor_id != vendor_id) ||
        (product_id != 0 && listed->product_id != product_id)) {
      continue;
    }
    struct hid_device_info* info = calloc(1, sizeof *info);
    char* path = malloc(strlen(listed->path) + 1);
    if (info == NULL || path == NULL) {
      free(info);
      free(path);
      break;
    }
    strcpy(path, listed->path);
    info->path = path;
    info->vendor_id = listed->vendor_id;
    info->product_id = listed->product_id;
    *next = info;
    next = &info->next;
  }
  if (first != NULL) ++live_enumerations;
  return first;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs) {
  if (devs != NULL) --live_enumerations;
  while (devs != NULL) {
    struct hid_device_info* next = devs->next;
    free(devs->path);
    free(devs);
    devs = next;
  }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path) {
  struct fake_interface* found = find_interface(path);
  if (found == NULL || found->removed) {
    last_error = L"Failed to open a device: No such file or directory";
    errno = ENOENT;
    return NULL;
  }
  if (found->refuse_errno != 0) {
    last_error = L"Failed to open a device: refused";
    errno = found->refuse_errno;
    return NULL;
  }
  hid_device* device = calloc(1, sizeof *device);
  if (device == NULL) return NULL;
  device->interface = found;
  ++found->opens;
  ++open_handles;
  return device;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data,
                                          size_t length) {
  last_write_length = length;
  memcpy(last_write, data, length < sizeof last_write ? length : sizeof last_write);
  if (dev->interface->removed) {
    last_error = L"hid_write: device gone";
    return -1;
  }
  if (dev->interface->has_peer)
    dev->interface->peer.write(dev->interface->peer.context, data, length);
  return (int)length;
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data,
                                                 size_t length, int milliseconds) {
  last_read_length = length;
  last_read_timeout = milliseconds;
  if (dev->interface->removed) {
    last_error = L"hid_read_timeout: device gone";
    return -1;
  }
  if (!dev->interface->has_peer) return 0;
  return dev->interface->peer.read(dev->interface->peer.context, data, length);
}

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev) {
  (void)dev;
  return last_error != NULL ? last_error : L"Success";
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
  if (dev == NULL) return;
  --open_handles;
  free(dev);
}
