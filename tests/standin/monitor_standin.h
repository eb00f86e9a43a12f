/* The stand-in monitor API's state, exported by the test program as
 * "ktMonitorState": it outlives each load of the stand-in. Plain C. */
#pragma once

typedef struct KtMonitorState {
  int failLogon;             /* MonitorLogon answers 0 */
  int crash;                 /* MonitorLogon faults */
  char password[64];         /* the service's password; "" when none is set */
  int rights;                /* value 0x8077 of the present logon */
  unsigned char record[560]; /* the last logon record received */
  char log[1024];            /* every call with its arguments, each followed by a space */
} KtMonitorState;
