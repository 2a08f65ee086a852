"""End-to-end harness: the built app against the local server, driven through AT-SPI."""
