// Attach and detach steps that start or stop another subsystem. Each is
// defined by its subsystem; none may fail the load.
#pragma once

namespace kt {

void RegisterBarGaugeClass();    // the "KTBarGauge" window class
void RegisterStripGraphClass();  // the "KTStripGraph" window class
void StartNetReport();           // builds the network-card table
void StopNetReport();            // frees it
void BindTrustVerification();    // looks up the optional trust-verification entry
void ForgetTrustVerification();  // forgets it ("wintrust.dll" stays loaded)

}  // namespace kt
