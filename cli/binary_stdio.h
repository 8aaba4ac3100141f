/* Standard input and output carry bytes as they are: no CR added before LF, no end at Ctrl-Z. */
#pragma once

void binary_stdio(void);
