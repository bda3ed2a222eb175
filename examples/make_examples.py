#!/usr/bin/env python3
"""Builds the sample star files of examples/ from the real line data beside it.

    examples/make_examples.py [OUTPUT_DIR]     (default: the examples/ folder)

Reads only files inside examples/: sources/*.csv (published Fe line lists with
measured solar equivalent widths) and velko/kbgfdos/GF0510.10 (a real gf line
list slice). Writes params.dat, HD123.wdt, HD123.abd and SUN.abd.

What is real and what is made up (examples/README.md says the same):
  real     wavelengths, excitation potentials and log gf of every line; the
           equivalent widths of the measurement blocks 1 to 3 of HD123.wdt and
           value 6 of SUN.abd (measured on the Sun by the cited authors)
  made up  the star name HD123, the repeat measurements of block 4 of
           HD123.wdt, every abundance in HD123.abd and SUN.abd, and which lines
           the reference SUN.abd leaves out or marks unmeasured; all drawn from
           random.Random(SEED), so a second run writes the same bytes.
"""

import csv
import os
import random
import sys

SEED = 20070815

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = os.path.join(HERE, "sources")
GF_SLICE = os.path.join(HERE, "velko", "kbgfdos", "GF0510.10")

FE1_COUNT = 302          # Fe I lines of the line table
FE2_COUNT = 28           # Fe II lines of the line table
MIN_SPACING = 0.05       # Å between table lines: a measurement (matched within
                         # 0.02 Å) can never fall near two of them
THRESHOLD = 120.0        # mÅ: HD123.abd holds the lines kept at this threshold
SOLAR_FE = 7.50          # log eps(Fe) about which the made-up abundances scatter
EV_PER_INV_CM = 1.23981e-4


def read_csv(name):
    with open(os.path.join(SOURCES, name), newline="") as handle:
        return list(csv.DictReader(handle))


def line_of(row, source):
    return {
        "species": row["species_code"],
        "wavelength": float(row["wavelength_A"]),
        "ep": float(row["ep_eV"]),
        "loggf": float(row["loggf"]),
        "source": source,
    }


def far_from_all(wavelength, lines):
    return all(abs(wavelength - line["wavelength"]) >= MIN_SPACING for line in lines)


def gf_fe1_lines():
    """Fe I lines of the gf slice: wavelength (Å), lower level (eV), log gf."""
    lines = []
    with open(GF_SLICE) as handle:
        for record in handle:
            text = record.lstrip()
            if not text or not text[0].isdigit():
                continue
            if abs(float(record[18:24]) - 26.00) > 0.001:
                continue
            lower = min(float(record[24:36]), float(record[52:64]))
            lines.append({
                "species": "26.00",
                "wavelength": round(float(record[0:11]) * 10.0, 3),
                "ep": round(lower * EV_PER_INV_CM, 3),
                "loggf": float(record[11:18]),
                "source": "GF0510.10",
            })
    return lines


def build_line_table(sousa, tsantaki, ramirez_sun, hyades):
    """The 330 lines: 302 Fe I and 28 Fe II, sorted by wavelength."""
    union = {}
    for row, source in [(r, "Sousa 2007") for r in sousa] + [(r, "Tsantaki 2013") for r in tsantaki]:
        key = (row["species_code"], float(row["wavelength_A"]))
        union.setdefault(key, line_of(row, source))

    fe1 = [line for key, line in sorted(union.items()) if key[0] == "26.00"]
    # Fe II: the lines of both lists first, then the other Sousa lines by wavelength.
    tsantaki_fe2 = {float(r["wavelength_A"]) for r in tsantaki if r["species_code"] == "26.01"}
    fe2_all = [line for key, line in sorted(union.items()) if key[0] == "26.01"]
    fe2 = [line for line in fe2_all if line["wavelength"] in tsantaki_fe2]
    fe2 += [line for line in fe2_all if line["wavelength"] not in tsantaki_fe2]
    fe2 = fe2[:FE2_COUNT]

    # Fe I fill, in this order, each line at least MIN_SPACING from those taken:
    # the other solar lines of Ramírez & Allende Prieto (2011), the lines of the
    # Hyades list, then the gf slice's strongest Fe I lines (log gf descending).
    candidates = [line_of(r, "Ramirez 2011") for r in ramirez_sun if r["species_code"] == "26.00"]
    candidates += [line_of(r, "q2 Hyades") for r in hyades if r["species_code"] == "26.00"]
    gf_lines = [l for l in gf_fe1_lines() if l["loggf"] >= -2.5 and l["ep"] <= 5.0]
    candidates += sorted(gf_lines, key=lambda l: (-l["loggf"], l["wavelength"]))
    for line in candidates:
        if len(fe1) == FE1_COUNT:
            break
        if far_from_all(line["wavelength"], fe1 + fe2):
            fe1.append(line)
    if len(fe1) != FE1_COUNT or len(fe2) != FE2_COUNT:
        sys.exit(f"make_examples: only {len(fe1)} Fe I and {len(fe2)} Fe II lines found")

    table = sorted(fe1 + fe2, key=lambda l: l["wavelength"])
    for number, line in enumerate(table, start=1):
        line["number"] = number
    return table


def table_line_near(table, wavelength):
    for line in table:
        if abs(line["wavelength"] - wavelength) < 0.02:
            return line
    return None


def wdt_record(species, wavelength, ep, loggf, width, tag, code_letter, index):
    """One ".wdt" measurement record: the 52-column line record (damping
    constants unknown, written 0.00), columns 53-59 the measurement block's tag,
    column 60 the code letter, columns 70-71 the measurement's number."""
    line_record = f" {float(species):5.2f}{wavelength:9.3f}{ep:6.3f}{loggf:6.3f}" \
                  f"{0.0:6.2f}{0.0:6.2f}{0.0:6.2f}{width:7.1f}"
    return f"{line_record}{tag:<7.7}{code_letter}{'':9}{index:02d}"


def abd_record(line, width, abundance):
    """One ".abd" data record; characters 5-33 hold species code, wavelength,
    excitation potential and log gf (they are copied into ".obs"/".del")."""
    fe1 = line["species"] == "26.00"
    value7 = abundance if fe1 else 0.0
    value8 = 0.0 if fe1 else abundance
    return (f"{line['number']:4d}{float(line['species']):6.2f}{line['wavelength']:10.3f}"
            f"{line['ep']:6.2f}{line['loggf']:7.3f}{width:7.1f}{value7:7.3f}{value8:7.3f}")


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else HERE
    rng = random.Random(SEED)

    sousa = read_csv("sousa2007_marcs_Sun.csv")
    tsantaki = read_csv("tsantaki2013_Sun.csv")
    ramirez_sun = [r for r in read_csv("q2_standards_Sun_Arcturus.csv") if r["star"] == "Sun"]
    hyades = read_csv("q2_hyades.csv")
    table = build_line_table(sousa, tsantaki, ramirez_sun, hyades)

    # params.dat: four parameter records (not used by ironsift; here the Sun's
    # Teff, log g, [Fe/H] and microturbulence), the line count, the lines.
    params = ["5777.0", "4.44", "0.00", "1.00", f"{len(table)}"]
    params += [f"{l['number']:4d} {float(l['species']):6.2f} {l['wavelength']:9.3f}" for l in table]

    # HD123.wdt: three blocks of real solar measurements, one of made-up repeats.
    measurements = {line["number"]: [] for line in table}  # widths in file order
    wdt = ["HD123 equivalent widths (mA) of Fe I and Fe II lines: sample data,",
           "see README.md. Records without 26.00/26.01 in columns 2-6 are skipped."]
    blocks = [("sousa07", "S", sousa, "Sousa et al. (2007), Sun"),
              ("tsant13", "T", tsantaki, "Tsantaki et al. (2013), Sun"),
              ("ramir11", "R", ramirez_sun, "Ramirez & Allende Prieto (2011), Sun")]
    for tag, letter, rows, title in blocks:
        wdt.append(f"-- block {tag}: measured by {title}")
        for row in rows:
            line = table_line_near(table, float(row["wavelength_A"]))
            if line is None or line["species"] != row["species_code"]:
                continue
            width = float(row["ew_mA"])
            measurements[line["number"]].append(width)
            wdt.append(wdt_record(row["species_code"], float(row["wavelength_A"]),
                                  float(row["ep_eV"]), float(row["loggf"]), width,
                                  tag, letter, len(measurements[line["number"]])))

    measured = [line for line in table if measurements[line["number"]]]
    wdt.append(f"-- block repeat: MADE UP (make_examples.py, seed {SEED}), "
               "width*(1+N(0,.04))")
    repeats = {line["number"]: rng.choice([1, 1, 2]) for line in rng.sample(measured, 30)}
    # One line with seven measurements in all (the listing continues on a second
    # record), and one repeat deleted by the observer (a negative width).
    seven = rng.choice([l for l in measured if l["number"] not in repeats])
    repeats[seven["number"]] = 7 - len(measurements[seven["number"]])
    deleted = rng.choice(sorted(repeats))
    for line in table:
        for _ in range(repeats.get(line["number"], 0)):
            base = measurements[line["number"]][0]
            width = round(base * (1.0 + rng.gauss(0.0, 0.04)), 1)
            if line["number"] == deleted:
                width, deleted = -width, None
            measurements[line["number"]].append(width)
            wdt.append(wdt_record(line["species"], line["wavelength"], line["ep"],
                                  line["loggf"], width, "repeat", "X",
                                  len(measurements[line["number"]])))
    for widths in measurements.values():
        if len(widths) > 10:
            sys.exit("make_examples: more than 10 measurements of one line")

    def mean_width(line):
        positive = [w for w in measurements[line["number"]] if w > 0]
        return sum(positive) / len(positive)

    # HD123.abd: the lines kept at THRESHOLD, with made-up abundances; a few of
    # them are outliers that the plots should show off the mean.
    kept = [line for line in measured if mean_width(line) < THRESHOLD]
    fe1_kept = [l for l in kept if l["species"] == "26.00"]
    fe2_kept = [l for l in kept if l["species"] == "26.01"]
    offsets = dict(zip((l["number"] for l in rng.sample(fe1_kept, 5)),
                       (+0.45, -0.40, +0.35, -0.50, +0.38)))
    offsets[rng.choice(fe2_kept)["number"]] = -0.42
    abd = ["# HD123 abundance results: sample data, abundances MADE UP (examples/README.md)",
           "# line species wavelength  chi  loggf   EW(mA) A(FeI) A(FeII)"]
    for line in kept:
        sigma = 0.06 if line["species"] == "26.00" else 0.07
        abundance = SOLAR_FE + rng.gauss(0.0, sigma) + offsets.get(line["number"], 0.0)
        abd.append(abd_record(line, mean_width(line), abundance))

    # SUN.abd: the reference star. Value 6 is the first solar measurement; four
    # kept lines are left out and two are marked unmeasured (value 6 < 0), so
    # that "HD123/SUN" rejects them as lines the reference lacks.
    left_out = {l["number"] for l in rng.sample(kept, 4)}
    unmeasured = {l["number"] for l in rng.sample([l for l in kept if l["number"] not in left_out], 2)}
    sun = ["# SUN abundance results: real solar widths, MADE-UP abundances (examples/README)",
           "# line species wavelength  chi  loggf   EW(mA) A(FeI) A(FeII)"]
    for line in measured:
        abundance = SOLAR_FE + rng.gauss(0.0, 0.05)
        if line["number"] in left_out:
            continue
        if line["number"] in unmeasured:
            sun.append(abd_record(line, -1.0, 0.0))
        else:
            sun.append(abd_record(line, measurements[line["number"]][0], abundance))

    os.makedirs(out_dir, exist_ok=True)
    for name, records in [("params.dat", params), ("HD123.wdt", wdt),
                          ("HD123.abd", abd), ("SUN.abd", sun)]:
        if any(len(record) > 80 for record in records):
            sys.exit(f"make_examples: a record of {name} is longer than 80 characters")
        with open(os.path.join(out_dir, name), "w", newline="\n") as handle:
            handle.write("".join(record + "\n" for record in records))


if __name__ == "__main__":
    main()
