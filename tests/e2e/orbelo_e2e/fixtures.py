"""Files that scenarios upload, written by the test itself."""

# Lecture notes whose sentences define seven terms, as a student's typed notes would.
MEMBRANES_LECTURE = """Lecture 3: Membranes and transport

The plasma membrane is a thin layer of lipids and proteins that surrounds every cell.
Diffusion is the movement of molecules from a region of high concentration to one of low concentration.
Osmosis is the diffusion of water across a selectively permeable membrane.
A channel protein is a membrane protein that forms a pore through which ions pass.
Active transport refers to the movement of substances against their gradient using energy from ATP.
Endocytosis, which brings large particles into the cell, folds the membrane inward around them.
A vesicle is a small sac of membrane that carries cargo between compartments of the cell.

Because the plasma membrane lets only some molecules through, the cell controls its contents.
Osmosis explains why red blood cells swell in pure water.
Without active transport, nerve cells could not restore their ion gradients after each impulse.
"""


def _escape(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def write_pdf(path, pages):
    """Writes a PDF with one page per entry of `pages` (each a list of lines), in Helvetica.

    The text is real page text, so the server extracts it as it would from a student's PDF.
    """
    objects = ["<< /Type /Catalog /Pages 2 0 R >>", None,
               "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    kids = []
    for lines in pages:
        stream = "BT /F1 12 Tf 72 740 Td 16 TL\n" + "".join(
            "(%s) Tj T*\n" % _escape(line) for line in lines) + "ET"
        objects.append("<< /Length %d >>\nstream\n%s\nendstream" % (len(stream.encode("latin-1")), stream))
        content = len(objects)
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
                       "/Resources << /Font << /F1 3 0 R >> >> /Contents %d 0 R >>" % content)
        kids.append("%d 0 R" % len(objects))
    objects[1] = "<< /Type /Pages /Kids [%s] /Count %d >>" % (" ".join(kids), len(kids))

    out = b"%PDF-1.4\n"
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += ("%d 0 obj\n%s\nendobj\n" % (number, body)).encode("latin-1")
    xref = len(out)
    out += ("xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)).encode("latin-1")
    out += "".join("%010d 00000 n \n" % offset for offset in offsets).encode("latin-1")
    out += ("trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n"
            % (len(objects) + 1, xref)).encode("latin-1")
    with open(path, "wb") as f:
        f.write(out)
