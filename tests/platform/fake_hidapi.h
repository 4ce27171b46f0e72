/* A stand-in for the hidapi library, linked in its place into the backend's test: it lists the
 * interfaces a test adds, opens them, refuses them or lets them vanish, and hands each write
 * and read of an open interface to that interface's peer, which plays the device. Every call
 * returns at once: a read with nothing waiting returns 0 bytes, as the library does when its
 * time-out runs out. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { FAKE_HID_MAX_INTERFACES = 16, FAKE_HID_MAX_REPORT = 64 };

/* The device behind one interface. */
struct fake_hid_peer {
  void* context;
  /* Receives the bytes of one hid_write, report-ID byte first. */
  void (*write)(void* context, const unsigned char* data, size_t length);
  /* Copies one waiting input report (data bytes only) into `data`; returns its length, or 0
   * when none waits. */
  int (*read)(void* context, unsigned char* data, size_t length);
};

/* Forgets every interface and resets every counter. */
void fake_hid_reset(void);
/* Lists one more interface, after those added before; `peer` may be NULL for one that is never
 * expected to be opened. False when the table is full. */
int fake_hid_add_interface(const char* path, unsigned short vendor_id, unsigned short product_id,
                           const struct fake_hid_peer* peer);
/* Makes hid_open_path fail on `path` with errno `error_number`. */
void fake_hid_refuse_open(const char* path, int error_number);
/* Unplugs the interface: it is no longer listed or opened, and every read and write on a handle
 * still open on it returns -1. */
void fake_hid_remove(const char* path);

/* How often hid_open_path succeeded on `path`. */
int fake_hid_open_count(const char* path);
/* Handles opened and not yet closed, enumerations not yet freed. */
int fake_hid_open_handles(void);
int fake_hid_live_enumerations(void);
int fake_hid_init_count(void);
int fake_hid_exit_count(void);

/* The last hid_write: its length and bytes (at most FAKE_HID_MAX_REPORT). */
size_t fake_hid_last_write(unsigned char* data, size_t capacity);
/* The buffer length and time-out of the last hid_read_timeout. */
size_t fake_hid_last_read_length(void);
int fake_hid_last_read_timeout(void);

#ifdef __cplusplus
}
#endif
